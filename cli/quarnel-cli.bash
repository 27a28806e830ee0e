# bash completion for quarnel-cli: sub-commands, their options, the values of the options
# that take a fixed set, and MPEG or .mtv files as arguments.

_quarnel_cli() {
    local cur prev words cword
    _init_completion || return

    local command="" word
    for word in "${words[@]:1:cword-1}"; do
        case $word in
            convert | info | show | new) command=$word && break ;;
        esac
    done

    case $prev in
        --setting)
            compopt -o nospace
            COMPREPLY=($(compgen -S = -W 're_map idct_func simd field_order aspect_ratio limit
                color_matrix gl yuy2_matrix file' -- "$cur"))
            return ;;
        --system) COMPREPLY=($(compgen -W 'ntsc pal' -- "$cur")) && return ;;
        --resolution)
            COMPREPLY=($(compgen -W '720x480 704x480 352x480 352x240 544x480 480x480 720x576
                704x576 352x576 352x288' -- "$cur"))
            return ;;
        --rate-control) COMPREPLY=($(compgen -W 'cbr vbr' -- "$cur")) && return ;;
        --aspect)
            COMPREPLY=($(compgen -W '4:3 16:9' -- "$cur"))
            __ltrim_colon_completions "$cur"
            return ;;
        --audio-bit-rate)
            COMPREPLY=($(compgen -W '56 64 80 96 112 128 160 192 224 256 320 384 448 640 1536
                unknown' -- "$cur"))
            return ;;
        --sampling) COMPREPLY=($(compgen -W '48000 44100 32000' -- "$cur")) && return ;;
        --name-encoding) COMPREPLY=($(compgen -W 'as-is cp932' -- "$cur")) && return ;;
        --bit-rate) return ;;
        -o | --output) _filedir mtv && return ;;
    esac

    local options='--setting --help -h'
    case $command in
        "") options+=' --version' ;;
        convert)
            options+=' -o --output --audio-auto --no-audio-auto --video-auto --no-video-auto
                --ac3 --system --resolution --rate-control --bit-rate --aspect --audio-bit-rate
                --sampling --name-encoding' ;;
        info | show) options+=' --json' ;;
        new) options+=' -f --force' ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    case $command in
        "") COMPREPLY=($(compgen -W 'convert info show new' -- "$cur")) ;;
        convert | info) _filedir 'mpeg|mpg|m2p|mp2|vob|vro|m2v|m1v|mpv|ves|m2t|ssg|ts|bs' ;;
        show | new) _filedir mtv ;;
    esac
} && complete -F _quarnel_cli quarnel-cli
