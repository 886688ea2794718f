#!/usr/bin/env bash
# An update server for the tests: nginx, unprivileged on a loopback port, serving update
# directories that the publish tool fills from built programs, and broken copies of them.
#   serve.sh start ROOT PUBLISH_TOOL BIN_DIR [BIN32_DIR]
#                                   publishes and starts; the port is in ROOT/port
#   serve.sh stop ROOT                            stops
# ROOT/<case>/updates/ holds, each file with its manifest (.txt), signature (.sig) and signed
# statement (.meta):
#   good       the manager (tvimedic.exe, its version resource set to 3.1) and tvimegui.exe (3.1)
#   tampered   one byte of the manager changed after signing
#   unsigned   no signature and no statement
#   older      the manifest says 0.9
#   nolength   the good files sent without a Content-Length (chunks); slow: at 1 MB/s
#   next       the manager, an input-method module and a text service of version 3.2; with BIN32_DIR also
#              next/updates-x86/, the 32-bit module of version 3.2 (and ROOT/next/x86-installed,
#              the 3.1 one that an installation has in SysWOW64)
# and the attacks on the manager, each published with the test key:
#   replay     a signed manager of version 0.9 under a manifest of 3.1
#   othername  tvimeup.exe's file, signature and statement under the manager's names
#   renamed    tvimeup.exe published as tvimedic.exe (its statement names tvimedic.exe)
#   longversion the manifest "1.1" and 3,000 dots;  hugemanifest a 200 MB manifest
#   bigmeta    a statement over 4 KB;  bigfile a 100 MB file under the manager's statement
#   biglength  the manager and 64 KB more, in chunks (no length announced)
#   cut        the manager cut to half;  redirect the manager's address sends to tampered/
#   expired    the manager with a statement that expired in 2001
#   trickle    the good files at 1 byte a second;  tricklefile only the manager's file so
# ROOT/feed/netads/netads.php is a news feed. Everything is also served over TLS on the port in
# ROOT/tls-port, with a certificate of its own.
set -euo pipefail
action=$1 root=$2

if [ "$action" = stop ]; then
  [ -f "$root/nginx.pid" ] && kill "$(cat "$root/nginx.pid")" 2>/dev/null || true
  exit 0
fi

publish=$3 bin=$4 bin32=${5:-}
[ -f "$root/nginx.pid" ] && kill "$(cat "$root/nginx.pid")" 2>/dev/null || true
rm -rf "$root"
mkdir -p "$root/logs" "$root/temp" "$root/staging"
key="$(dirname "$0")/test-key.pem"

source "$(dirname "$0")/file_version.sh"
cp "$bin/tvimedic.exe" "$root/staging/tvimedic.exe"
set_file_version "$root/staging/tvimedic.exe" 3 1
"$publish" "$key" "$root/good/updates" "$root/staging/tvimedic.exe" "$bin/tvimegui.exe"
copy_good() {  # CASE
  mkdir -p "$root/$1/updates"
  cp "$root/good/updates/"* "$root/$1/updates/"
}
for case in tampered unsigned older nolength biglength cut bigmeta bigfile longversion \
            hugemanifest; do
  copy_good "$case"
done
printf '\x7f' | dd of="$root/tampered/updates/tvimedic.exe" bs=1 seek=4000 conv=notrunc 2>/dev/null
rm "$root/unsigned/updates/tvimedic.exe.sig" "$root/unsigned/updates/tvimedic.exe.meta"
printf '0.9' >"$root/older/updates/tvimedic.exe.txt"
head -c 65536 /dev/zero >>"$root/biglength/updates/tvimedic.exe"
size=$(stat -c %s "$root/good/updates/tvimedic.exe")
truncate -s $((size / 2)) "$root/cut/updates/tvimedic.exe"
head -c 5000 /dev/zero | tr '\0' 'x' >>"$root/bigmeta/updates/tvimedic.exe.meta"
# Sparse: large as served, nothing on disk.
rm "$root/bigfile/updates/tvimedic.exe"
truncate -s 100M "$root/bigfile/updates/tvimedic.exe"
{ printf '1.1'; head -c 3000 /dev/zero | tr '\0' '.'; } >"$root/longversion/updates/tvimedic.exe.txt"
rm "$root/hugemanifest/updates/tvimedic.exe.txt"
truncate -s 200M "$root/hugemanifest/updates/tvimedic.exe.txt"

mkdir -p "$root/staging/replay" "$root/staging/renamed" "$root/staging/expired"
cp "$bin/tvimedic.exe" "$root/staging/replay/tvimedic.exe"
set_file_version "$root/staging/replay/tvimedic.exe" 0 9
"$publish" "$key" "$root/replay/updates" "$root/staging/replay/tvimedic.exe"
printf '3.1' >"$root/replay/updates/tvimedic.exe.txt"
"$publish" "$key" "$root/staging/othername" "$bin/tvimeup.exe"
mkdir -p "$root/othername/updates"
for suffix in "" .sig .meta; do
  cp "$root/staging/othername/tvimeup.exe$suffix" "$root/othername/updates/tvimedic.exe$suffix"
done
printf '3.1' >"$root/othername/updates/tvimedic.exe.txt"
cp "$bin/tvimeup.exe" "$root/staging/renamed/tvimedic.exe"
"$publish" "$key" "$root/renamed/updates" "$root/staging/renamed/tvimedic.exe"
cp "$root/staging/tvimedic.exe" "$root/staging/expired/tvimedic.exe"
"$publish" --expires-at 1000000000 "$key" "$root/expired/updates" \
  "$root/staging/expired/tvimedic.exe"

# next/: the good manager, and an input-method module and text service one version above the
# build (their version resources patched), for the updater's run over an installation.
mkdir -p "$root/next/staging"
for file in tvime30.ime tvimetsf.dll; do
  cp "$bin/$file" "$root/next/staging/$file"
  set_file_version "$root/next/staging/$file" 3 2
done
"$publish" "$key" "$root/next/updates" "$root/staging/tvimedic.exe" \
  "$root/next/staging/tvime30.ime" "$root/next/staging/tvimetsf.dll"
if [ -n "$bin32" ] && [ -f "$bin32/tvime30.ime" ]; then
  mkdir -p "$root/next/staging-x86"
  cp "$bin32/tvime30.ime" "$root/next/x86-installed"
  cp "$bin32/tvime30.ime" "$root/next/staging-x86/tvime30.ime"
  set_file_version "$root/next/staging-x86/tvime30.ime" 3 2
  "$publish" "$key" "$root/next/updates-x86" "$root/next/staging-x86/tvime30.ime"
fi

# A news feed (GBK, as the ad server sends it) under feed/; nofeed/ has none.
mkdir -p "$root/feed/netads" "$root/nofeed"
{
  printf '11\t%s\thttp://127.0.0.1/netads/ad.php?id=11\n' "$(printf '新闻一' | iconv -f UTF-8 -t GBK)"
  printf '12\tsecond\thttp://127.0.0.1/netads/ad.php?id=12\n'
  printf '13\tthird\thttp://127.0.0.1/netads/ad.php?id=13\n'
} >"$root/feed/netads/netads.php"

# The same over TLS, with a certificate of its own for 127.0.0.1, which nothing trusts.
mkdir -p "$root/tls"
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 30 \
  -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 \
  -keyout "$root/tls/key.pem" -out "$root/tls/cert.pem" 2>>"$root/logs/start.log"

# Free ports (PORT, and PORT + 1 for TLS): another build tree may be testing at the same time.
# A master started as root runs its workers as "nobody", who cannot enter a checkout under /root or
# in any folder only its owner may enter: the workers run as whoever started the server instead.
# (An unprivileged master runs them as itself and would only warn about the directive.)
worker_user=""
[ "$(id -u)" -eq 0 ] && worker_user="user $(id -un) $(id -gn);"
write_config() {  # PORT
  cat >"$root/nginx.conf" <<CONF
$worker_user
worker_processes 1;
pid $root/nginx.pid;
error_log $root/logs/error.log;
events { worker_connections 64; }
http {
  access_log $root/logs/access.log;
  client_body_temp_path $root/temp/body;
  proxy_temp_path $root/temp/proxy;
  fastcgi_temp_path $root/temp/fastcgi;
  uwsgi_temp_path $root/temp/uwsgi;
  scgi_temp_path $root/temp/scgi;
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:$1;
    listen 127.0.0.1:$(($1 + 1)) ssl;
    ssl_certificate $root/tls/cert.pem;
    ssl_certificate_key $root/tls/key.pem;
    root $root;
    # Made on the fly: no Content-Length, the body comes in chunks.
    location /nolength/ { ssi on; ssi_types *; }
    location /biglength/ { ssi on; ssi_types *; }
    # The good files, slowly: the download dialog stays up long enough to be seen.
    location /slow/ { alias $root/good/; limit_rate 1m; }
    # A byte a second: the whole check, or only the file's download.
    location /trickle/ { alias $root/good/; limit_rate 1; }
    location = /tricklefile/updates/tvimedic.exe {
      alias $root/good/updates/tvimedic.exe; limit_rate 1;
    }
    location /tricklefile/ { alias $root/good/; }
    location = /redirect/updates/tvimedic.exe { return 302 /tampered/updates/tvimedic.exe; }
    location /redirect/ { alias $root/good/; }
  }
}
CONF
}
for _ in $(seq 20); do
  port=$((20000 + RANDOM % 20000))
  write_config "$port"
  if nginx -p "$root" -c "$root/nginx.conf" -e "$root/logs/error.log" 2>>"$root/logs/start.log"; then
    for _ in $(seq 50); do
      if [ -s "$root/nginx.pid" ] && (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
        echo "$port" >"$root/port"
        echo $((port + 1)) >"$root/tls-port"
        exit 0
      fi
      sleep 0.1
    done
  fi
done
echo "the update server did not start; its log:" >&2
cat "$root/logs/start.log" "$root/logs/error.log" >&2
exit 1
