#!/usr/bin/env bash
# Signs Windows programs in place with Authenticode (osslsigncode, SHA-256 digest).
#
#   scripts/sign.sh FILE...
#
# The certificate and key come from the environment:
#   TOVLEN_SIGN_PKCS12     a PKCS#12 file (.p12/.pfx) with the certificate, its chain and the key, or
#   TOVLEN_SIGN_CERT       a PEM file with the signing certificate first and then any intermediates,
#   TOVLEN_SIGN_KEY        and the PEM file of its private key;
#   TOVLEN_SIGN_PASSWORD   the password of the PKCS#12 file or of the key, when it has one;
#   TOVLEN_SIGN_TIMESTAMP  optional: the address of an RFC 3161 time-stamp server, so that the
#                          signature stays valid after the certificate has expired.
# A file that is signed already gets the new signature instead of the old one.
set -euo pipefail

die() {
    echo "sign.sh: $*" >&2
    exit 1
}

[ $# -gt 0 ] || die "usage: sign.sh FILE..."
command -v osslsigncode >/dev/null || die "osslsigncode is missing (Debian package osslsigncode)"

credentials=()
if [ -n "${TOVLEN_SIGN_PKCS12:-}" ]; then
    [ -r "$TOVLEN_SIGN_PKCS12" ] || die "cannot read TOVLEN_SIGN_PKCS12=$TOVLEN_SIGN_PKCS12"
    credentials=(-pkcs12 "$TOVLEN_SIGN_PKCS12")
elif [ -n "${TOVLEN_SIGN_CERT:-}" ] && [ -n "${TOVLEN_SIGN_KEY:-}" ]; then
    [ -r "$TOVLEN_SIGN_CERT" ] || die "cannot read TOVLEN_SIGN_CERT=$TOVLEN_SIGN_CERT"
    [ -r "$TOVLEN_SIGN_KEY" ] || die "cannot read TOVLEN_SIGN_KEY=$TOVLEN_SIGN_KEY"
    credentials=(-certs "$TOVLEN_SIGN_CERT" -key "$TOVLEN_SIGN_KEY")
else
    die "set TOVLEN_SIGN_PKCS12, or TOVLEN_SIGN_CERT and TOVLEN_SIGN_KEY"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -n "${TOVLEN_SIGN_PASSWORD:-}" ]; then
    # From a file rather than the command line, where every user of the machine could read it.
    (umask 077 && printf '%s' "$TOVLEN_SIGN_PASSWORD" >"$work/password")
    credentials+=(-readpass "$work/password")
fi
timestamp=()
if [ -n "${TOVLEN_SIGN_TIMESTAMP:-}" ]; then timestamp=(-ts "$TOVLEN_SIGN_TIMESTAMP"); fi

for file in "$@"; do
    [ -f "$file" ] || die "no such file: $file"
    unsigned="$work/unsigned"
    signed="$work/signed"
    rm -f "$unsigned" "$signed"
    # osslsigncode would add the new signature beside an old one; start from the bare program.
    if ! osslsigncode remove-signature -in "$file" -out "$unsigned" >/dev/null 2>&1; then
        cp "$file" "$unsigned"
    fi
    osslsigncode sign "${credentials[@]}" "${timestamp[@]}" -h sha256 -n "Tovlen" \
        -in "$unsigned" -out "$signed" >"$work/log" 2>&1 || die "could not sign $file: $(cat "$work/log")"
    # Replaced in one step, so the file is never half written.
    cp "$signed" "$file.signing"
    mv -f "$file.signing" "$file"
    echo "signed $file"
done
