# Shared by the scripts that watch the client over the session bus: its MPRIS player and the
# local.ini that picks the programme it starts with.
mpris_name=org.mpris.MediaPlayer2.lumora_channel
mpris_path=/org/mpris/MediaPlayer2

on_bus() { # on_bus NAME
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.ListNames | grep -q "'$1'"
}
property() { # property NAME [INTERFACE-SUFFIX]
  gdbus call --session --dest "$mpris_name" --object-path $mpris_path \
    --method org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2${2:+.$2} "$1"
}
status_is() { property PlaybackStatus Player | grep -q "'$1'"; }
title_is() { property Metadata Player | grep -qF "'xesam:title': <'$1'>"; }
player() { # player METHOD — a method of the Player interface
  gdbus call --session --dest "$mpris_name" --object-path $mpris_path \
    --method "org.mpris.MediaPlayer2.Player.$1" >/dev/null
}
start_on() { # start_on ROOT NODE — channel 23's programme at NODE is the remembered one
  printf '[Info]\n1=0\n6=33554455\n7=100090\n8=1\n9=0\n10=\n11=0\n12=\n23=%s\n' "$2" \
    >"$1/Client/Config/local.ini"
}
