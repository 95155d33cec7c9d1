#!/usr/bin/env bash
# Checks scripts/pki on an empty folder, and leaves there the key material the simulator tests
# share: the authority and server certificate chain for 127.0.0.1 and localhost, the service's
# PEM certificate matching its key, private keys for the user only, nothing redone on a second
# run, and a lost server certificate remade under the same authority.
# Usage: pki.sh SCRIPT_PKI CARTELLA
set -euo pipefail
script_pki=$1
cartella=$2
fallimenti=0
fallito() { echo "FALLITO: $*" >&2 && fallimenti=$((fallimenti + 1)); }
# uguale DESCRIZIONE ATTESO OTTENUTO; contiene DESCRIZIONE TESTO PARTE
uguale() { [ "$2" = "$3" ] || fallito "$1: atteso [$2], ottenuto [$3]"; }
contiene() { [[ "$2" == *"$3"* ]] || fallito "$1: [$3] manca in [$2]"; }

rm -rf "$cartella"
"$script_pki" "$cartella"
cd "$cartella"

uguale "permessi della cartella" 700 "$(stat -c %a .)"
for chiave in mirCa.key simulatore.key SanitelCF.key; do
    uguale "permessi di $chiave" 600 "$(stat -c %a "$chiave")"
done
contiene "catena del server" "$(openssl verify -CAfile mirCa.pem simulatore.pem 2>&1)" ": OK"
nomi=$(openssl x509 -in simulatore.pem -noout -ext subjectAltName)
contiene "nomi del server" "$nomi" "DNS:localhost"
contiene "nomi del server" "$nomi" "IP Address:127.0.0.1"
contiene "certificato del servizio in PEM" "$(head -n 1 SanitelCF.cer)" "BEGIN CERTIFICATE"
uguale "chiave del certificato del servizio" \
    "$(openssl x509 -in SanitelCF.cer -noout -pubkey)" "$(openssl pkey -in SanitelCF.key -pubout)"

impronte=$(sha256sum ./*)
"$script_pki" .
uguale "seconda esecuzione" "$impronte" "$(sha256sum ./*)"

ca=$(sha256sum mirCa.pem)
rm simulatore.pem
"$script_pki" .
uguale "autorita dopo un certificato perso" "$ca" "$(sha256sum mirCa.pem)"
contiene "certificato rifatto" "$(openssl verify -CAfile mirCa.pem simulatore.pem 2>&1)" ": OK"

[ "$fallimenti" -eq 0 ] || { echo "$fallimenti controlli falliti" >&2 && exit 1; }
