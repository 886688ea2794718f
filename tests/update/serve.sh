#!/usr/bin/env bash
# An update server for the tests: nginx, unprivileged on a loopback port, serving update
# directories that the publish tool fills from built programs, and broken copies of them.
#   serve.sh start ROOT PUBLISH_TOOL BIN_DIR     publishes and starts; the port is in ROOT/port
#   serve.sh stop ROOT                            stops
# ROOT/<case>/updates/ holds: good (signed tvimedic.exe, version 3.1, built from tvimegui.exe, and
# tvimegui.exe itself),
# tampered (one byte changed after signing), unsigned (no .sig), older (manifest 0.9), nolength
# (the good files sent without a Content-Length), slow (the good files at 1 MB/s), next (the
# manager and a module of version 3.2). ROOT/feed/netads/netads.php is a news feed. Everything is
# also served over TLS on the port in ROOT/tls-port, with a certificate of its own.
set -euo pipefail
action=$1 root=$2

if [ "$action" = stop ]; then
  [ -f "$root/nginx.pid" ] && kill "$(cat "$root/nginx.pid")" 2>/dev/null || true
  exit 0
fi

publish=$3 bin=$4
[ -f "$root/nginx.pid" ] && kill "$(cat "$root/nginx.pid")" 2>/dev/null || true
rm -rf "$root"
mkdir -p "$root/logs" "$root/temp" "$root/staging"
key="$(dirname "$0")/test-key.pem"

cp "$bin/tvimegui.exe" "$root/staging/tvimedic.exe"
"$publish" "$key" "$root/good/updates" "$root/staging/tvimedic.exe" "$bin/tvimegui.exe"
for case in tampered unsigned older nolength; do
  mkdir -p "$root/$case/updates"
  cp "$root/good/updates/"* "$root/$case/updates/"
done
printf '\x7f' | dd of="$root/tampered/updates/tvimedic.exe" bs=1 seek=4000 conv=notrunc 2>/dev/null
rm "$root/unsigned/updates/tvimedic.exe.sig"
printf '0.9' >"$root/older/updates/tvimedic.exe.txt"

source "$(dirname "$0")/file_version.sh"
# next/: the good manager, and an input-method module one version above the build (its version
# resource patched), for the updater's run over an installation.
mkdir -p "$root/next/staging"
cp "$bin/tvime30.ime" "$root/next/staging/tvime30.ime"
set_file_version "$root/next/staging/tvime30.ime" 3 2
"$publish" "$key" "$root/next/updates" "$root/staging/tvimedic.exe" \
  "$root/next/staging/tvime30.ime"

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
    # The good files, slowly: the download dialog stays up long enough to be seen.
    location /slow/ { alias $root/good/; limit_rate 1m; }
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
