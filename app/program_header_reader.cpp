#include "app/program_header_reader.h"

#include "app/progress_window.h"

namespace quarnel {

HeaderReader program_header_reader(Language language, UiThread& ui) {
    return threaded_reader(ui, progress_windows(language), read_with_analyser);
}

}  // namespace quarnel
