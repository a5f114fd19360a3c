#!/usr/bin/env bash
# Certificates and signed images for the unit tests, made fresh by openssl and
# osslsigncode (Debian 12 ships 2.5) in the folder given:
#   root                 a test root
#   ca2023, pca2011      test CAs under it named as Microsoft's UEFI CAs
#   impostor2023         a CA with ca2023's name and a key of its own
#   leaf2023, leaf2011   a signer under each named CA
#   names                self-signed, with BMPString and multi-valued name parts
#   <name>.der, <name>.tbs (its TBSCertificate, cut out by openssl asn1parse)
#   and .tbs.sha256, <name>.fields (serial and key identifiers) and <name>.subject
#   as openssl shows them
#   boot64.efi, boot32.efi        unsigned PE32+ and PE32 images
#   signed2023.efi                boot64.efi signed by leaf2023 (its chain: leaf2023, ca2023)
#   signed-both.efi               signed2023.efi with a nested signature by leaf2011 (leaf2011, pca2011)
#   signed32.efi                  boot32.efi signed by leaf2011
#   signed2011.efi                boot64.efi signed by leaf2011
#   signed-sha1.efi, -sha384, -sha512  boot64.efi signed by leaf2023 with that file hash
#   two-entries.efi               boot64.efi with two certificate-table entries: signed2011's, then signed2023's
#   malformed-table.efi           signed2023.efi whose table's size counts 16 bytes no entry fills
#   <db>.esl                      root, ca2023, pca2011, leaf2023, impostor2023 and leaf2011 each
#                                 as one EFI_SIGNATURE_LIST, as db and dbx hold them
set -euo pipefail
out=$1
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$out"
mkdir -p "$out"
cd "$out"

cat > extensions.cnf <<'CNF'
[ca]
basicConstraints = critical, CA:true
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid:always
[signer]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid:always
CNF

# RSA-2048 with PKCS #1 v1.5 signatures, as Windows and UEFI firmware use.
key() { openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$1.key" 2>/dev/null; }

# Text as openssl's own string types choose it: PrintableString, else BMPString.
cat > names.cnf <<'CNF'
[req]
distinguished_name = dn
string_mask = default
[dn]
CNF

# certificate <name> <subject> <issuer name or "self"> <extension section> <serial> [req options]
certificate() {
  local name=$1 subject=$2 issuer=$3 section=$4 serial=$5
  key "$name"
  openssl req -new -key "$name.key" -subj "$subject" "${@:6}" -out "$name.csr"
  if [ "$issuer" = self ]; then
    openssl x509 -req -in "$name.csr" -signkey "$name.key" -days 3650 -set_serial "$serial" \
      -extfile extensions.cnf -extensions "$section" -out "$name.pem" 2>/dev/null
  else
    openssl x509 -req -in "$name.csr" -CA "$issuer.pem" -CAkey "$issuer.key" -days 3650 -set_serial "$serial" \
      -extfile extensions.cnf -extensions "$section" -out "$name.pem" 2>/dev/null
  fi
  openssl x509 -in "$name.pem" -outform DER -out "$name.der"
  # The TBSCertificate is the first element of the certificate's outer SEQUENCE.
  openssl asn1parse -inform DER -in "$name.der" -strparse 4 -noout -out "$name.tbs"
  openssl dgst -sha256 -binary -out "$name.tbs.sha256" "$name.tbs"
  {
    openssl x509 -in "$name.pem" -noout -serial
    openssl x509 -in "$name.pem" -noout -ext subjectKeyIdentifier,authorityKeyIdentifier
  } > "$name.fields"
  openssl x509 -in "$name.pem" -noout -subject -nameopt utf8,sep_comma_plus_space,dn_rev,sname |
    sed 's/^subject=//' > "$name.subject"
}

certificate root "/CN=Orvanta Test Root" self ca 1
certificate ca2023 "/C=US/O=Microsoft Corporation/CN=Windows UEFI CA 2023" root ca 0x2023
certificate pca2011 "/C=US/ST=Washington/L=Redmond/O=Microsoft Corporation/CN=Microsoft Windows Production PCA 2011" \
  root ca 0x61077656000000000008
certificate impostor2023 "/C=US/O=Microsoft Corporation/CN=Windows UEFI CA 2023" root ca 0x7023
certificate leaf2023 "/C=US/O=Microsoft Corporation/CN=Microsoft Windows" ca2023 signer 0x330000002301
certificate leaf2011 "/C=US/O=Microsoft Corporation/CN=Microsoft Windows" pca2011 signer 0x330000002011
certificate names "/C=CN/O=某公司+OU=引导/CN=测试根证书" self ca 0x0100 -config names.cnf -utf8 -multivalue-rdn
cat leaf2023.pem ca2023.pem > chain2023.pem
cat leaf2011.pem pca2011.pem > chain2011.pem

/usr/bin/python3 "$here/make_pe.py" x64 boot64.efi
/usr/bin/python3 "$here/make_pe.py" ia32 boot32.efi
sign() { osslsigncode sign -h sha256 -certs "$1.pem" -key "$2.key" "${@:5}" -in "$3" -out "$4" >/dev/null; }
sign chain2023 leaf2023 boot64.efi signed2023.efi
sign chain2011 leaf2011 signed2023.efi signed-both.efi -nest
sign chain2011 leaf2011 boot32.efi signed32.efi
sign chain2011 leaf2011 boot64.efi signed2011.efi
for digest in sha1 sha384 sha512; do
  osslsigncode sign -h "$digest" -certs chain2023.pem -key leaf2023.key -in boot64.efi -out "signed-$digest.efi" >/dev/null
done
/usr/bin/python3 "$here/make_pe.py" entries two-entries.efi signed2011.efi signed2023.efi
/usr/bin/python3 "$here/make_pe.py" malformed signed2023.efi malformed-table.efi

# EFI_SIGNATURE_LIST: EFI_CERT_X509_GUID, sizes (list, header 0, entry), then
# the owner's GUID (zero here) and the certificate.
for name in root ca2023 pca2011 leaf2023 impostor2023 leaf2011; do
  /usr/bin/python3 - "$name.der" "$name.esl" <<'PY'
import struct, sys, uuid
certificate = open(sys.argv[1], "rb").read()
entry = bytes(16) + certificate
header = uuid.UUID("a5c059a1-94e4-4aa7-87b5-ab155c2bf072").bytes_le + struct.pack("<III", 28 + len(entry), 0, len(entry))
open(sys.argv[2], "wb").write(header + entry)
PY
done
touch complete
