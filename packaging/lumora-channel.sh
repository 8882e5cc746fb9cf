#!/bin/sh
# Starts the client from the user's own copy of the installation. The program keeps its settings,
# caches and downloads beside its own file and finds that folder through /proc/self/exe, while
# /opt is read-only: so each user gets a tree of real folders whose files are links into /opt,
# except the program file, which is copied (a link would resolve back to /opt) and carries the
# edition in its version section, and the Caches and DL folders, which the program changes.
set -eu
system=${LUMORA_SYSTEM_DIR:-/opt/lumora-channel}
user=${XDG_DATA_HOME:-$HOME/.local/share}/lumora-channel
program=Client/lumora-channel

if [ ! -x "$system/$program" ]; then
  echo "lumora-channel: $system/$program is missing" >&2
  exit 1
fi

# First start, or the package was upgraded: bring the private tree up to date.
if ! cmp -s "$system/$program" "$user/$program"; then
  mkdir -p "$user"
  for folder in Client/Caches Client/DL; do
    if [ -d "$system/$folder" ]; then
      mkdir -p "$user/$folder"
      cp -Rn "$system/$folder/." "$user/$folder/"
    fi
  done
  # Files the user already has (their settings, the copies above) stay as they are.
  cp -Rsn "$system/." "$user/"
  # Links to files a newer package no longer ships.
  find "$user" -xtype l -lname "$system/*" -delete
  # Replace the link or an older copy in one step: a running instance keeps its own file.
  cp "$system/$program" "$user/$program.new"
  mv -f "$user/$program.new" "$user/$program"
fi

# QtWebEngine refuses to start as root unless its sandbox is off.
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
exec "$user/$program" "$@"
