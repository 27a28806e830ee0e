if(QUARNEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# A fuzzing build instruments every object for coverage; only the fuzz targets link libFuzzer.
if(QUARNEL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
