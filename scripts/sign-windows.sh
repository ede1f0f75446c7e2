#!/usr/bin/env bash
# Signs Windows programs in place with Authenticode (osslsigncode), when a certificate is
# given: CANPROG_SIGN_CERT names a PKCS#12 file (.pfx) with the certificate and its key,
# CANPROG_SIGN_PASSWORD holds its password, CANPROG_SIGN_TIMESTAMP (optional) names a
# time-stamp server. Without a certificate it does nothing, so that every build may call it.
# The password reaches osslsigncode through a pipe, never its command line.
# Usage: sign-windows.sh FILE...
set -euo pipefail
[ -n "${CANPROG_SIGN_CERT:-}" ] || exit 0
for file in "$@"; do
    signed="$file.signed"
    options=(-pkcs12 "$CANPROG_SIGN_CERT" -h sha256 -n canprog -i https://canprog.example.org/)
    [ -z "${CANPROG_SIGN_TIMESTAMP:-}" ] || options+=(-ts "$CANPROG_SIGN_TIMESTAMP")
    if ! osslsigncode sign "${options[@]}" -readpass <(printf '%s' "${CANPROG_SIGN_PASSWORD:-}") \
        -in "$file" -out "$signed" >/dev/null; then
        rm -f "$signed"
        echo "could not sign $file" >&2
        exit 1
    fi
    mv -f "$signed" "$file"
    echo "signed $file"
done
