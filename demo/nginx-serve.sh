#!/usr/bin/env bash
# A private nginx in the foreground for one patch server folder, shared by the demo, the
# end-to-end tests and the benchmarks:
#   demo/nginx-serve.sh ROOT STATE PORT [BYTES_PER_SECOND]
# ROOT is served on 127.0.0.1:PORT, each transfer at no more than BYTES_PER_SECOND (0 or none:
# no limit); the configuration, logs, pid and temporary files stay under STATE.
#
# nginx started by root hands its requests to workers of an unprivileged user, which cannot
# enter a folder that only its owner may enter (a home folder of mode 0700, a mktemp folder):
# the workers then run as the user who started it, so it serves what that user can read.
set -euo pipefail
root=$(cd "${1:?usage: nginx-serve.sh ROOT STATE PORT [RATE]}" && pwd)
mkdir -p "${2:?missing STATE}"
state=$(cd "$2" && pwd)
port=${3:?missing PORT}
rate=${4:-0}

worker_user=""
[ "$(id -u)" -eq 0 ] && worker_user="user $(id -un) $(id -gn);"

cat > "$state/nginx.conf" <<CONF
$worker_user
worker_processes 1;
daemon off;
pid $state/nginx.pid;
error_log $state/error.log;

events {
  worker_connections 64;
}

http {
  access_log $state/access.log;
  client_body_temp_path $state/body;
  proxy_temp_path $state/proxy;
  fastcgi_temp_path $state/fastcgi;
  uwsgi_temp_path $state/uwsgi;
  scgi_temp_path $state/scgi;
  sendfile on;

  types {
    text/html html;
    text/plain ini txt;
  }
  default_type application/octet-stream;

  server {
    listen 127.0.0.1:$port;
    root $root;
    limit_rate $rate;
  }
}
CONF
exec nginx -p "$state" -e "$state/error.log" -c "$state/nginx.conf"
