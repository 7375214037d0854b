#!/usr/bin/env bash
# A Firebird server on 127.0.0.1 for the server test group.
#   firebird-server.sh start   install when missing, set the SYSDBA password, start
#   firebird-server.sh stop
#   firebird-server.sh status  exit 0 when it answers on 127.0.0.1:3050
set -euo pipefail
PASSWORD=plumvoxer
SECURITY_DB=/var/lib/firebird/3.0/system/security3.fdb
CONF=/etc/firebird/3.0/firebird.conf
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
# The server keeps its lock files where every client of it looks for them,
# whatever lock folder the calling test has.
unset FIREBIRD_LOCK

running() { pgrep -u firebird -x firebird >/dev/null 2>&1; }
answering() { (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; }

stop() {
  if pgrep -x fbguard >/dev/null 2>&1; then $SUDO pkill -x fbguard || true; fi
  if running; then $SUDO pkill -u firebird -x firebird || true; fi
  for _ in $(seq 50); do running || return 0; sleep 0.1; done
  $SUDO pkill -9 -u firebird -x firebird || true
}

start() {
  if ! dpkg-query -W -f='${Status}' firebird3.0-server 2>/dev/null | grep -q 'install ok installed'; then
    $SUDO apt-get update -qq
    # The package's own service start is refused in containers; we start it below.
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends firebird3.0-server
  fi
  stop
  # Loopback only.
  if grep -q '^RemoteBindAddress' "$CONF"; then
    $SUDO sed -i 's/^RemoteBindAddress.*/RemoteBindAddress = 127.0.0.1/' "$CONF"
  else
    echo 'RemoteBindAddress = 127.0.0.1' | $SUDO tee -a "$CONF" >/dev/null
  fi
  # With the server stopped the embedded engine can change the password in
  # the security database.
  echo "create or alter user SYSDBA password '$PASSWORD';" |
    $SUDO isql-fb -q -user SYSDBA "$SECURITY_DB"
  $SUDO chown firebird:firebird "$SECURITY_DB"
  $SUDO mkdir -p /run/firebird3.0 /tmp/firebird
  $SUDO chown firebird:firebird /run/firebird3.0
  $SUDO chmod 1777 /tmp/firebird
  $SUDO su -s /bin/sh firebird -c "/usr/sbin/fbguard -daemon -forever"
  for _ in $(seq 100); do answering && return 0; sleep 0.1; done
  echo "firebird server did not start" >&2
  return 1
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  status) answering ;;
  *) echo "usage: $0 start|stop|status" >&2; exit 2 ;;
esac
