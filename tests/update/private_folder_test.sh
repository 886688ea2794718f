#!/usr/bin/env bash
# The test server serves from a folder that only its owner may enter, as a checkout under /root
# is: started there, it must answer with the published manifest, not with 403.
#   private_folder_test.sh PUBLISH_TOOL BIN_DIR
set -euo pipefail
publish=$1 bin=$2
serve="$(dirname "$0")/serve.sh"

private=$(mktemp -d)  # mode 0700
root="$private/checkout/build/update-server"
trap '"$serve" stop "$root"; rm -rf "$private"' EXIT
[ "$(stat -c %a "$private")" = 700 ] || { echo "FAIL: $private is not 0700"; exit 1; }

"$serve" start "$root" "$publish" "$bin"
port=$(cat "$root/port")

# One plain HTTP request, without depending on a client program.
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'GET /good/updates/tvimedic.exe.txt HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' >&3
reply=$(cat <&3 | tr -d '\r')
exec 3<&-

status=$(head -n 1 <<<"$reply")
body=$(sed '1,/^$/d' <<<"$reply")
expected=$(cat "$root/good/updates/tvimedic.exe.txt")
if [[ "$status" != *" 200 "* ]] || [ "$body" != "$expected" ]; then
  echo "FAIL: the server in a 0700 folder answered \"$status\" with \"$body\" (expected \"$expected\")"
  tail -n 5 "$root/logs/error.log" || true
  exit 1
fi
# The folder itself stays as private as it was.
[ "$(stat -c %a "$private")" = 700 ] || { echo "FAIL: the private folder was opened up"; exit 1; }
echo "served $expected from a 0700 folder"
