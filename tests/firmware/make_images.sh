#!/usr/bin/env bash
# The test images for the Secure Boot comparison, made fresh in the folder given:
#   images/<name>.efi   an EFI application (efitools' HelloWorld.efi) signed
#                       in the ways below, RSA-2048 keys throughout
#   images.tsv          <name>.efi, the verdict EDK2's rules give against a db
#                       holding only Debian's snakeoil certificate, and why
#   loader.efi          the loader (tests/firmware/loader), snakeoil-signed
#   other.pem/.key      a self-signed key of our own, in no db
#   make_images.sh <folder> <unsigned loader.efi>
set -euo pipefail
out=$(realpath -m "$1")
loader=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
signing=$here/../signing
app=/usr/lib/efitools/x86_64-linux-gnu/HelloWorld.efi
snakeoil=/usr/share/ovmf/PkKek-1-snakeoil
# The snakeoil key's password, from the ovmf package's README.Debian.
snakeoil_password=snakeoil

rm -rf "$out"
mkdir -p "$out/images"
cd "$out"

openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 36500 -subj "/CN=Orvanta Test Signer Outside db" \
  -keyout other.key -out other.pem 2>/dev/null

# sign <snakeoil|other> <digest> <input> <output> [osslsigncode options]
sign() {
  local key=(-certs other.pem -key other.key)
  [ "$1" = snakeoil ] && key=(-certs "$snakeoil.pem" -key "$snakeoil.key" -pass "$snakeoil_password")
  osslsigncode sign "${key[@]}" -h "$2" "${@:5}" -in "$3" -out "$4" >/dev/null
}
expect() { printf '%s\t%s\t%s\n' "$1" "$2" "$3" >> images.tsv; }

sign snakeoil sha256 "$loader" loader.efi

cp "$app" images/unsigned.efi
expect unsigned.efi refused "no signature, and its hash is not in db"

sign snakeoil sha256 "$app" images/snakeoil.efi
expect snakeoil.efi allowed "signed by the db certificate"

sign other sha256 "$app" images/other-key.efi
expect other-key.efi refused "signed by a key outside db"

/usr/bin/python3 "$signing/damage_pe.py" section images/snakeoil.efi images/tampered.efi
expect tampered.efi refused "snakeoil-signed, then one byte of its first section changed"

/usr/bin/python3 "$signing/damage_pe.py" signature images/snakeoil.efi images/bad-signature.efi
expect bad-signature.efi refused "snakeoil-signed, then one byte of the signer's RSA signature changed"

sign snakeoil sha1 "$app" images/sha1.efi
expect sha1.efi allowed "snakeoil-signed with a SHA-1 digest, which EDK2 accepts"

/usr/bin/python3 "$signing/make_pe.py" entries images/two-entries.efi images/other-key.efi images/snakeoil.efi
expect two-entries.efi allowed "two certificate-table entries: another key's first, then the snakeoil one"

sign snakeoil sha256 images/other-key.efi images/nested-only.efi -nest
expect nested-only.efi refused "another key's signature, the snakeoil one only nested inside it"

/usr/bin/python3 "$signing/make_pe.py" malformed images/snakeoil.efi images/malformed-table.efi
expect malformed-table.efi refused "the snakeoil entry intact, but the table's size counts 16 zero bytes after it"

