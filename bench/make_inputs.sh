#!/usr/bin/env bash
# Makes the benchmark inputs in DIR, each at least SIZE bytes, unless they are there already:
#   es.m2v                  MPEG-2 video elementary stream, 720x576 at 25 frames/s, 8 Mbit/s
#   dvd.vob                 DVD-style program stream of es.m2v with MPEG-1 Layer II audio
#   broadcast.ts            188-byte transport stream of the same video and audio
#   split_001.vob ... 003   dvd.vob cut at pack boundaries into a numbered three-file sequence
#   es-small.m2v            an elementary stream of about 80 MB, to show that a scan's memory
#                           does not grow with the file
# A 20-second clip encoded by ffmpeg is repeated (quarnel-bench-repeat continues its GOP time
# codes) and then multiplexed by ffmpeg. Files are written under a .part name and renamed
# when complete; nothing else in DIR is touched.
#
# usage: bench/make_inputs.sh DIR SIZE REPEAT_TOOL
set -euo pipefail
dir=$1 size=$2 repeat=$(realpath "$3")
mkdir -p "$dir"
cd "$dir"

ffmpeg=(ffmpeg -hide_banner -loglevel error -nostdin -y)

# Runs "$@" with its output going to NAME.part, then names the result NAME.
make() {
    local name=$1
    shift
    [ -s "$name" ] && return
    echo "making $dir/$name" >&2
    "$@" "$name.part"
    mv "$name.part" "$name"
}

clip() {
    # Noise keeps the encoder at its bit rate, as camera pictures do.
    "${ffmpeg[@]}" -f lavfi -i "testsrc2=size=720x576:rate=25:duration=20,noise=alls=12:allf=t+u" \
        -c:v mpeg2video -b:v 8M -maxrate 9M -bufsize 1835k -g 12 -bf 2 -flags +ildct+ilme \
        -f mpeg2video "$1"
}
audio() {
    local seconds
    seconds=$(($(stat -c %s es.m2v) / 1000000 + 10))  # 8 Mbit/s is 1 MB/s
    "${ffmpeg[@]}" -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$seconds" \
        -ac 2 -c:a mp2 -b:a 192k -f mp2 "$1"
}
mux() {
    local format=$1 out=$2
    "${ffmpeg[@]}" -fflags +genpts -f mpegvideo -framerate 25 -i es.m2v -i audio.mp2 -map 0:v -map 1:a \
        -c copy -shortest -f "$format" "$out"
}
split_three() {
    # Whole 2048-byte packs in each piece, as a recorder splits its files. The first piece is
    # named last, so that it exists only when the other two are complete.
    local piece=$(( ($(stat -c %s dvd.vob) / 3 / 2048 + 1) * 2048 ))
    cut_piece() {
        dd if=dvd.vob of="$2" bs=1M iflag=skip_bytes,count_bytes skip=$(($1 * piece)) \
            count="$piece" status=none
    }
    cut_piece 1 split_002.vob.part && mv split_002.vob.part split_002.vob
    cut_piece 2 split_003.vob.part && mv split_003.vob.part split_003.vob
    cut_piece 0 "$1"
}

make clip.m2v clip
make es.m2v "$repeat" clip.m2v "$size"
make es-small.m2v "$repeat" clip.m2v $((64 << 20))
make audio.mp2 audio
make dvd.vob mux dvd
make broadcast.ts mux mpegts
make split_001.vob split_three
