#!/usr/bin/env bash
# Makes the demo programmes named by the demo catalogues: make-programmes.sh OUT CATALOGUE...
# Every entry with a "demo" attribute gets a file OUT/files/<id><ext> (what the demo service
# offers); "cache" entries are also copied to OUT/Caches/<channel>/<id><ext> and "dl" entries
# to OUT/DL/<name><ext>, where the client finds them on disk.
#   type 1: SWF movie, 120 frames at 12 fps, the "say" text drawn moving, speech as sound;
#           with movie="as3" the ActionScript 3 movie named by $DEMO_AS3_MOVIE instead
#   type 2: MP3 of the "say" text spoken (a tone when espeak-ng is missing)
#   type 4: FLV video (Sorenson H.263 + MP3) with a keyframe index, 6 s
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: make-programmes.sh OUT CATALOGUE..." >&2; exit 2; }
out=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$out"
mkdir -p "$out/files" "$out/Caches" "$out/DL"

font=$(fc-match -f '%{file}' 'Noto Sans CJK SC:style=Bold' 2>/dev/null || true)
case "$font" in *CJK*) ;; *) font="" ;; esac
have_espeak=0
command -v espeak-ng >/dev/null 2>&1 && have_espeak=1
ff=(ffmpeg -hide_banner -loglevel error -nostdin -y)

speech() { # speech TEXT VOICE OUT.wav SECONDS — spoken text, or a tone of SECONDS
  if [ "$have_espeak" = 1 ] && espeak-ng -v "$2" -s 130 -w "$3" "$1" 2>/dev/null; then
    return 0
  fi
  "${ff[@]}" -f lavfi -i "sine=frequency=523:duration=$4" "$3"
}

picture() { # picture TEXTFILE COLOUR SECONDS FPS — lavfi source of a coloured card with moving text
  local text=""
  [ -n "$font" ] && text=",drawtext=fontfile=$font:textfile=$1:fontsize=44:fontcolor=0x333333:x=(w-text_w)/2+40*sin(2*PI*t/5):y=(h-text_h)/2"
  echo "color=c=$2:s=320x240:r=$4:d=$3,drawbox=x=0:y=216:w=iw:h=24:color=0xFF9933:t=fill$text"
}

make_one() { # make_one CHANNEL ID TYPE NAME SAY VOICE PLACE MOVIE
  local channel=$1 id=$2 type=$3 name=$4 say=$5 voice=$6 place=$7 movie=$8 ext file
  local colours=(0xFFF3C4 0xD9F2FF 0xE6FFD9 0xFFE0EC 0xEDE0FF)
  local colour=${colours[$((channel % 5))]}
  printf '%s' "$say" >"$work/$id.txt"
  speech "$say" "$voice" "$work/$id.wav" 3
  case "$type" in
  1) ext=.swf
     if [ "$movie" = as3 ]; then
       cp "${DEMO_AS3_MOVIE:?the ActionScript 3 movie}" "$work/$id$ext"
     else
       "${ff[@]}" -f lavfi -i "$(picture "$work/$id.txt" "$colour" 10 12)" -i "$work/$id.wav" \
         -frames:v 120 -t 10 -af apad -c:v flv1 -q:v 5 -c:a libmp3lame -ar 22050 -b:a 48k \
         -f swf "$work/$id$ext"
     fi ;;
  2) ext=.mp3
     "${ff[@]}" -i "$work/$id.wav" -c:a libmp3lame -ar 22050 -b:a 48k "$work/$id$ext" ;;
  4) ext=.flv
     "${ff[@]}" -f lavfi -i "$(picture "$work/$id.txt" "$colour" 6 15)" -i "$work/$id.wav" \
       -t 6 -af apad -c:v flv1 -q:v 5 -g 15 -c:a libmp3lame -ar 22050 -b:a 48k \
       -flvflags add_keyframe_index "$work/$id$ext" ;;
  *) echo "make-programmes: entry $id: type $type is not playable" >&2; return 1 ;;
  esac
  mv "$work/$id$ext" "$out/files/$id$ext"
  case "$place" in
  cache) mkdir -p "$out/Caches/$channel" && cp "$out/files/$id$ext" "$out/Caches/$channel/$id$ext" ;;
  dl) cp "$out/files/$id$ext" "$out/DL/$name$ext" ;;
  service) ;;
  *) echo "make-programmes: entry $id: unknown place $place" >&2; return 1 ;;
  esac
}

attr() { xmllint --xpath "string(/*/*[@demo][$2]/@$3)" "$1"; }

jobs_running=0
status=0
for catalogue in "$@"; do
  channel=$(basename "$catalogue" .xml)
  count=$(xmllint --xpath 'count(/*/*[@demo])' "$catalogue")
  for ((i = 1; i <= count; i++)); do
    voice=$(attr "$catalogue" $i voice)
    make_one "$channel" "$(attr "$catalogue" $i id)" "$(attr "$catalogue" $i type)" \
      "$(attr "$catalogue" $i name)" "$(attr "$catalogue" $i say)" "${voice:-cmn}" \
      "$(attr "$catalogue" $i demo)" "$(attr "$catalogue" $i movie)" &
    jobs_running=$((jobs_running + 1))
    if [ "$jobs_running" -ge 2 ]; then
      wait -n || status=1
      jobs_running=$((jobs_running - 1))
    fi
  done
done
while [ "$jobs_running" -gt 0 ]; do
  wait -n || status=1
  jobs_running=$((jobs_running - 1))
done
exit $status
