#!/usr/bin/env bash
# Signs tessivane.exe with Authenticode (osslsigncode), for make dist, and checks the result: the
# signature verifies, and removing it gives back the unsigned exe byte for byte, so that anyone
# who rebuilds the exe from the tag can compare it with the signed download.
#
#   SIGN_CERT=cert.pem SIGN_KEY=key.pem scripts/sign.sh UNSIGNED.exe SIGNED.exe
#     SIGN_CERT       the code-signing certificate, PEM or DER, with its intermediate certificates
#     SIGN_KEY        its private key, PEM or DER
#     SIGN_PASS_FILE  optional: a file that holds the key's passphrase
#     SIGN_TIMESTAMP  optional: the URL of an RFC 3161 time-stamp server; a time-stamped signature
#                     stays valid after the certificate has expired
#     SIGN_CA         optional: the trusted certificates (PEM) that verification starts from;
#                     without it, the system's (/etc/ssl/certs)
#
#   scripts/sign.sh --throwaway UNSIGNED.exe SIGNED.exe
#     the same with a self-signed code-signing certificate made on the spot, valid for a day and
#     trusted for this verification only: make test checks the signing this way.
set -euo pipefail
. "$(dirname "$0")/project-facts.sh"

throwaway=""
if [[ "${1:-}" == "--throwaway" ]]; then
  throwaway=1
  shift
fi
if [[ $# -ne 2 ]]; then
  echo "usage: scripts/sign.sh [--throwaway] UNSIGNED.exe SIGNED.exe" >&2
  exit 2
fi
unsigned="$1"
signed="$2"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [[ -n "$throwaway" ]]; then
  SIGN_CERT="$work/cert.pem"
  SIGN_KEY="$work/key.pem"
  SIGN_CA="$SIGN_CERT"
  SIGN_PASS_FILE=""
  SIGN_TIMESTAMP=""
  openssl req -x509 -newkey rsa:3072 -nodes -days 1 -subj "/CN=$TESS_CAPTION test signature" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
    -keyout "$SIGN_KEY" -out "$SIGN_CERT" 2>"$work/openssl.log" ||
    { cat "$work/openssl.log" >&2; echo "FAIL making the throw-away certificate" >&2; exit 1; }
fi
: "${SIGN_CERT:?SIGN_CERT must name the certificate}" "${SIGN_KEY:?SIGN_KEY must name its key}"

options=(-certs "$SIGN_CERT" -key "$SIGN_KEY" -h sha256 -n "$TESS_CAPTION"
         -i "$TESS_HOME_PAGE")
[[ -n "${SIGN_PASS_FILE:-}" ]] && options+=(-readpass "$SIGN_PASS_FILE")
[[ -n "${SIGN_TIMESTAMP:-}" ]] && options+=(-ts "$SIGN_TIMESTAMP")
rm -f "$signed"
if ! osslsigncode sign "${options[@]}" -in "$unsigned" -out "$signed" >"$work/sign.log" 2>&1; then
  cat "$work/sign.log" >&2
  echo "FAIL signing $unsigned" >&2
  exit 1
fi

verify=(-in "$signed")
[[ -n "${SIGN_CA:-}" ]] && verify+=(-CAfile "$SIGN_CA")
if ! osslsigncode verify "${verify[@]}" >"$work/verify.log" 2>&1; then
  cat "$work/verify.log" >&2
  echo "FAIL the signature of $signed does not verify" >&2
  exit 1
fi
stamped=""
[[ -n "${SIGN_TIMESTAMP:-}" ]] && stamped=", time-stamped"
echo "ok   $signed: Authenticode signature verifies$stamped"

osslsigncode remove-signature -in "$signed" -out "$work/removed.exe" >"$work/remove.log" 2>&1 ||
  { cat "$work/remove.log" >&2; echo "FAIL removing the signature of $signed" >&2; exit 1; }
if ! cmp -s "$unsigned" "$work/removed.exe"; then
  echo "FAIL $signed without its signature is not $unsigned byte for byte" >&2
  exit 1
fi
echo "ok   $signed without its signature is $unsigned byte for byte"
