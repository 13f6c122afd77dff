#!/usr/bin/env bash
# Runs a Windows test program under Wine with the https test site's throw-away CA trusted. Wine
# trusts only the host's CA bundle, so the program runs in a private mount namespace in which that
# bundle also holds the test CA; nothing outside the namespace changes. The program then finds
# ORVANE_TEST_CA_TRUSTED set. Without the CA, or where no mount namespace can be made, it runs as
# usual.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
bundle=/etc/ssl/certs/ca-certificates.crt
keys="${ORVANE_TLS_SITE_DIR:-/nonexistent}/keys"
if [ -f "$keys/ca.pem" ] && [ -f "$bundle" ] && unshare -m true 2>/dev/null; then
  cat "$bundle" "$keys/ca.pem" >"$keys/bundle.crt"
  exec unshare -m bash -c \
    'mount --bind "$1" "$2" && export ORVANE_TEST_CA_TRUSTED=1; shift 2; exec "$@"' \
    trust "$keys/bundle.crt" "$bundle" "$here/tools/wine-exec" "$@"
fi
exec "$here/tools/wine-exec" "$@"
