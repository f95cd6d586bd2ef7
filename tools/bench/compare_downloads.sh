#!/usr/bin/env bash
# Downloads against curl with the same guarantee: a file of 100 MB and one of 1 GB,
# served by a local nginx (HTTP) and a local vsftpd (FTP, passive) on 127.0.0.1,
# fetched by TmRot.DownloadFileHTTP and TZelmorFTP.Download against
# `curl -o TMP URL && sync TMP && mv TMP TARGET` (written, flushed, renamed into
# place) into the same folder. Both servers run from configuration in the scratch
# folder and are stopped at the end.
#   tools/bench/compare_downloads.sh [RUNS]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
RUNS="${1:-7}"
ZELMOR="$BENCH_BUILD/bin/zelmor"
bench_need_packages nginx-light vsftpd curl
bench_scratch
# The servers' workers read the files as other users.
chmod 755 "$BENCH_TMP"

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

serve="$BENCH_TMP/serve"
out="$BENCH_TMP/out"
mkdir -p "$serve" "$out" "$BENCH_TMP/nginx" "$BENCH_TMP/empty"
for size in 100 1000; do
  dd if=/dev/urandom of="$serve/f$size.bin" bs=1M count="$size" status=none
done
chmod 644 "$serve"/*.bin

HTTP_PORT="$(free_port)"
cat >"$BENCH_TMP/nginx/nginx.conf" <<CONF
worker_processes 1;
daemon on;
pid $BENCH_TMP/nginx/nginx.pid;
error_log $BENCH_TMP/nginx/error.log;
events { worker_connections 64; }
http {
  access_log off;
  sendfile on;
  client_body_temp_path $BENCH_TMP/nginx;
  proxy_temp_path $BENCH_TMP/nginx;
  fastcgi_temp_path $BENCH_TMP/nginx;
  uwsgi_temp_path $BENCH_TMP/nginx;
  scgi_temp_path $BENCH_TMP/nginx;
  server {
    listen 127.0.0.1:$HTTP_PORT;
    root $serve;
  }
}
CONF

FTP_PORT="$(free_port)"
cat >"$BENCH_TMP/vsftpd.conf" <<CONF
listen=YES
listen_address=127.0.0.1
listen_port=$FTP_PORT
background=YES
anonymous_enable=YES
no_anon_password=YES
anon_root=$serve
local_enable=NO
write_enable=NO
ftp_username=ftp
secure_chroot_dir=$BENCH_TMP/empty
pasv_enable=YES
pasv_address=127.0.0.1
seccomp_sandbox=NO
xferlog_enable=NO
vsftpd_log_file=$BENCH_TMP/vsftpd.log
CONF

nginx -c "$BENCH_TMP/nginx/nginx.conf"
vsftpd "$BENCH_TMP/vsftpd.conf"
stop_servers() {
  [ -f "$BENCH_TMP/nginx/nginx.pid" ] && kill "$(cat "$BENCH_TMP/nginx/nginx.pid")" 2>/dev/null || true
  # vsftpd keeps no pid file: the listener is the process bound to our port.
  local pid
  pid="$(ss -Hltnp "sport = :$FTP_PORT" 2>/dev/null | sed -n 's/.*pid=\([0-9]*\).*/\1/p' | head -1)"
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$BENCH_TMP"
}
trap stop_servers EXIT

# Both servers answer before anything is timed (at most 10 s).
for _ in $(seq 50); do
  curl -sf -o /dev/null "http://127.0.0.1:$HTTP_PORT/f100.bin" &&
    curl -sf -o /dev/null --user anonymous:x "ftp://127.0.0.1:$FTP_PORT/f100.bin" && break
  sleep 0.2
done

for size in 100 1000; do
  f="f$size.bin"
  prepare="rm -f '$out/$f' '$out/.$f.tmp'"
  python3 "$ALTERNATE" --runs "$RUNS" --label "HTTP download $size MB" --peer-name curl --prepare "$prepare" \
    --ours "'$ZELMOR' call TmRot.DownloadFileHTTP 'http://127.0.0.1:$HTTP_PORT/$f' '$out/$f' true" \
    --peer "curl -sf -o '$out/.$f.tmp' 'http://127.0.0.1:$HTTP_PORT/$f' && sync '$out/.$f.tmp' && mv '$out/.$f.tmp' '$out/$f'"
  python3 "$ALTERNATE" --runs "$RUNS" --label "FTP download $size MB" --peer-name curl --prepare "$prepare" \
    --ours "'$ZELMOR' call TZelmorFTP.Download 127.0.0.1 anonymous x $FTP_PORT '/$f' '$out' true" \
    --peer "curl -sf -o '$out/.$f.tmp' --user anonymous:x 'ftp://127.0.0.1:$FTP_PORT/$f' && sync '$out/.$f.tmp' && mv '$out/.$f.tmp' '$out/$f'"
  cmp "$serve/$f" "$out/$f"
done
