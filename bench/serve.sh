# Sourced by the benchmark scripts: the demo's nginx serving a folder on 127.0.0.1.
#   serve_folder WWW NGINX_WORK_DIR FILE
# starts it on a free port, waits until FILE answers and sets url (FILE's address) and
# nginx_pid (for the caller's clean-up).
serve_folder() {
  local serve
  serve="$(cd "$(dirname "${BASH_SOURCE[0]}")/../demo" && pwd)/nginx-serve.sh"
  for _ in $(seq 20); do
    port=$((20000 + RANDOM % 30000))
    "$serve" "$1" "$2" "$port" >/dev/null 2>&1 &
    nginx_pid=$!
    sleep 0.3
    kill -0 "$nginx_pid" 2>/dev/null && break
  done
  url="http://127.0.0.1:$port/$3"
  for _ in $(seq 50); do curl -sf -o /dev/null -r 0-0 "$url" && break; sleep 0.1; done
}
