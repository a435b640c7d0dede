#!/usr/bin/env bash
# The feed as a real web server sends it: Debian's nginx on 127.0.0.1, configured here, serves the
# feeds plain, compressed as asked, compressed unasked (gzip_static always), as a gzip bomb, empty,
# as a site-wide 503, and redirected to an https server of a test authority and to an untrusted one.
# Each site is one run of the real program: what it saves, the boxes it shows and the lines it logs.
source "$(dirname "$0")/lib.sh"
command -v nginx > /dev/null || skip "nginx is not installed (Debian's nginx-light)"
NGINX_VERSION=$(nginx -v 2>&1)
echo "server: $NGINX_VERSION"
TLS="$(dirname "$0")/../data/tls"
SERVERS=(Dartmoor Logres Avalon Salisbury)

free_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }

# The feeds: one step of the simulator on from the copies the program holds already.
DOCS="$WORK/docs"
for server in "${SERVERS[@]}"; do
    mkdir -p "$DOCS/plain/herald/servers/$server/keeps" "$DOCS/static/herald/servers/$server/keeps"
    "$FEEDSIM_BIN" --seed 5 --steps 1 --write "$server" "$DOCS/plain/herald/servers/$server/keeps/keeps.xml"
    # Only the compressed file: nginx must send it whatever the request says.
    gzip -9 -c "$DOCS/plain/herald/servers/$server/keeps/keeps.xml" > "$DOCS/static/herald/servers/$server/keeps/keeps.xml.gz"
done
# A gzip bomb in Avalon's place: 1 GiB of spaces in about a megabyte.
head -c 1G /dev/zero | tr '\0' ' ' | gzip -9 > "$DOCS/static/herald/servers/Avalon/keeps/bomb.gz"
BOMB_BYTES=$(stat -c %s "$DOCS/static/herald/servers/Avalon/keeps/bomb.gz")

declare -A PORT
for site in plain gzip static bomb empty maintenance trusted untrusted tls_trusted tls_untrusted; do PORT[$site]=$(free_port); done
mkdir -p "$WORK/nginx/logs"
cat > "$WORK/nginx/nginx.conf" <<EOF
user root;
daemon off;
pid $WORK/nginx/nginx.pid;
error_log $WORK/nginx/logs/error.log;
events { worker_connections 64; }
http {
    log_format coded '\$server_port \$request_uri \$status coding=\$sent_http_content_encoding \$body_bytes_sent';
    access_log $WORK/nginx/logs/access.log coded;
    client_body_temp_path $WORK/nginx/body;
    proxy_temp_path $WORK/nginx/proxy;
    fastcgi_temp_path $WORK/nginx/fastcgi;
    uwsgi_temp_path $WORK/nginx/uwsgi;
    scgi_temp_path $WORK/nginx/scgi;
    types { text/xml xml; }
    root $DOCS/plain;
    server { listen 127.0.0.1:${PORT[plain]}; }
    server { listen 127.0.0.1:${PORT[gzip]}; gzip on; gzip_types text/xml; gzip_min_length 0; }
    server { listen 127.0.0.1:${PORT[static]}; root $DOCS/static; gzip_static always; }
    server {
        listen 127.0.0.1:${PORT[bomb]};
        location = /herald/servers/Avalon/keeps/keeps.xml {
            root $DOCS/static;
            default_type text/xml;
            add_header Content-Encoding gzip;
            try_files /herald/servers/Avalon/keeps/bomb.gz =404;
        }
    }
    server { listen 127.0.0.1:${PORT[empty]}; location = /herald/servers/Dartmoor/keeps/keeps.xml { return 200 ""; } }
    server { listen 127.0.0.1:${PORT[maintenance]}; location / { return 503; } }
    server {
        listen 127.0.0.1:${PORT[trusted]};
        location / { return 301 https://127.0.0.1:${PORT[tls_trusted]}\$request_uri; }
    }
    server {
        listen 127.0.0.1:${PORT[untrusted]};
        location = /herald/servers/Logres/keeps/keeps.xml {
            return 301 https://127.0.0.1:${PORT[tls_untrusted]}\$request_uri;
        }
    }
    server {
        listen 127.0.0.1:${PORT[tls_trusted]} ssl;
        ssl_certificate $TLS/issued.pem;
        ssl_certificate_key $TLS/issued-key.pem;
    }
    server {
        listen 127.0.0.1:${PORT[tls_untrusted]} ssl;
        ssl_certificate $TLS/cert.pem;
        ssl_certificate_key $TLS/key.pem;
    }
}
EOF
nginx -p "$WORK/nginx" -c "$WORK/nginx/nginx.conf" -e "$WORK/nginx/logs/error.log" > "$WORK/nginx/stdout.log" 2>&1 &
PIDS+=($!)
wait_for 10 curl -fsS --noproxy '*' -o /dev/null "http://127.0.0.1:${PORT[plain]}/herald/servers/Logres/keeps/keeps.xml" ||
    skip "nginx did not start here: $(tail -2 "$WORK/nginx/logs/error.log")"
url() { echo "http://127.0.0.1:${PORT[$1]}/herald/servers/$2/keeps/keeps.xml"; }
check "nginx sends gzip_static's file to a request that asks for no coding" \
    sh -c "curl -sS -D - -o /dev/null --noproxy '*' '$(url static Logres)' | grep -qi '^Content-Encoding: gzip'"

start_display
OLD="$WORK/old"
mkdir -p "$OLD"
for server in "${SERVERS[@]}"; do "$FEEDSIM_BIN" --seed 5 --steps 0 --write "$server" "$OLD/${server}_lastkeeps.xml"; done

# One run of the program against a site, until its first pass has asked every server it would and
# settled: the boxes it showed (each answered), what it logged, and its peak memory.
BOXES=0
run_against() {  # run_against site requests
    local site=$1 requests=$2 quiet=0 before
    TEMP_FOLDER="$WORK/tmp-$site"
    mkdir -p "$TEMP_FOLDER"
    cp "$OLD"/* "$TEMP_FOLDER/"
    before=$(grep -c . "$WORK/nginx/logs/access.log" || true)
    FEED_BASE="http://127.0.0.1:${PORT[$site]}" SSL_CERT_FILE="$TLS/ca.pem" start_warmap
    BOXES=0
    for _ in $(seq 1 150); do
        if [ -n "$(visible_window_id '^Warmap$')" ]; then
            BOXES=$((BOXES + 1))
            [ "$BOXES" -eq 1 ] && screenshot "$ARTIFACTS/box-$site.png"
            answer_box
            quiet=0
        elif [ $(($(grep -c . "$WORK/nginx/logs/access.log" || true) - before)) -ge "$requests" ]; then
            quiet=$((quiet + 1))
            [ "$quiet" -ge 10 ] && break  # two seconds without a box after the last request
        fi
        sleep 0.2
    done
    PEAK_KIB=$(awk '/^VmHWM/{print $2}' "/proc/$WARMAP_PID/status")
    kill "$WARMAP_PID"
    wait "$WARMAP_PID" 2> /dev/null || true
    cp "$WORK/warmap.log" "$ARTIFACTS/warmap-$site.log"
    echo "  $site: $BOXES box(es), peak memory $PEAK_KIB KiB; logged:"
    grep '^warmap\.' "$WORK/warmap.log" | sed 's/^/    /' || true
}
saved_as_served() {  # saved_as_served server
    cmp -s "$TEMP_FOLDER/${1}_lastkeeps.xml" "$DOCS/plain/herald/servers/$1/keeps/keeps.xml"
}
kept() { cmp -s "$TEMP_FOLDER/${1}_lastkeeps.xml" "$OLD/${1}_lastkeeps.xml"; }
logged() { grep -c "$1" "$WORK/warmap.log" || true; }
all_saved() { for server in "${SERVERS[@]}"; do saved_as_served "$server" || return 1; done; }

for site in plain gzip static trusted; do
    run_against "$site" $([ "$site" = trusted ] && echo 8 || echo 4)
    check "$site: every feed is saved as the XML it carries" all_saved
    check "$site: no box, no download line" test "$BOXES" -eq 0 -a "$(logged 'warmap.download')" -eq 0
    [ "$site" = plain ] && PLAIN_PEAK=$PEAK_KIB
done
compressed() {  # every feed the site sent, compressed
    [ "$(grep -c "^${PORT[$1]} .* 200 coding=gzip " "$WORK/nginx/logs/access.log" || true)" -ge 4 ] &&
        [ "$(grep "^${PORT[$1]} " "$WORK/nginx/logs/access.log" | grep -vc " coding=gzip " || true)" -eq 0 ]
}
check "gzip: nginx compressed every feed, as the program asked" compressed gzip
check "gzip_static always: nginx sent every feed compressed" compressed static

run_against bomb 4
check "bomb: one box" test "$BOXES" -eq 1
check "bomb: one line names Avalon's address and the decoded limit" test "$(logged \
    "^warmap.download: bad answer from $(url bomb Avalon): more than 8388608 bytes once decoded$")" -eq 1
check "bomb: Avalon's old copy is kept, the others are saved" sh -c \
    "cmp -s '$TEMP_FOLDER/Avalon_lastkeeps.xml' '$OLD/Avalon_lastkeeps.xml' && \
     cmp -s '$TEMP_FOLDER/Salisbury_lastkeeps.xml' '$DOCS/plain/herald/servers/Salisbury/keeps/keeps.xml'"
echo "  the bomb: $BOMB_BYTES bytes inflating to 1 GiB; peak memory $PEAK_KIB KiB against $PLAIN_PEAK KiB for the plain feeds"
check "bomb: memory stays within the 8 MiB cap and a buffer of the plain run" test "$PEAK_KIB" -lt $((PLAIN_PEAK + 12 * 1024))

run_against empty 4
check "empty: no box" test "$BOXES" -eq 0
check "empty: one line says Dartmoor answered with nothing" test "$(logged \
    "^warmap.download: empty answer from $(url empty Dartmoor)$")" -eq 1
check "empty: Dartmoor's copy is kept" kept Dartmoor
check "empty: the servers after it are visited and saved" sh -c "cd '$TEMP_FOLDER' && \
    cmp -s Logres_lastkeeps.xml '$DOCS/plain/herald/servers/Logres/keeps/keeps.xml' && \
    cmp -s Salisbury_lastkeeps.xml '$DOCS/plain/herald/servers/Salisbury/keeps/keeps.xml'"

run_against maintenance 4
check "maintenance: one box for the whole site" test "$BOXES" -eq 1
check "maintenance: four lines, one per server" test "$(logged '^warmap.download: bad answer from .*: HTTP status 503$')" -eq 4
check "maintenance: every copy is kept" sh -c "for s in ${SERVERS[*]}; do cmp -s '$TEMP_FOLDER/'\$s'_lastkeeps.xml' '$OLD/'\$s'_lastkeeps.xml' || exit 1; done"

run_against untrusted 4
check "untrusted: one box" test "$BOXES" -eq 1
check "untrusted: the line names the https address, the first one and libcurl's message" test "$(logged \
    "^warmap.download: bad answer from https://127.0.0.1:${PORT[tls_untrusted]}/herald/servers/Logres/keeps/keeps.xml (redirected from $(url untrusted Logres)): SSL certificate problem: self-signed certificate$")" -eq 1
check "untrusted: Logres's copy is kept" kept Logres
check "untrusted: the servers after it are visited and saved" sh -c \
    "cmp -s '$TEMP_FOLDER/Avalon_lastkeeps.xml' '$DOCS/plain/herald/servers/Avalon/keeps/keeps.xml'"
echo "$NGINX_VERSION"
finish
