# Shared by the end-to-end scripts: checks that collect failures, a work folder removed at the
# end, and the simulator started on a free port and always stopped, whatever happens.

# A literal '&' in a ${var//pattern/replacement} must stay itself (bash 5.2 would put the match
# there instead).
shopt -u patsub_replacement 2>/dev/null || true

fallimenti=0
lavoro=$(mktemp -d "${TMPDIR:-/tmp}/meravo-e2e.XXXXXX")
pid_simulatore=

fallito() {
    echo "FALLITO: $*" >&2
    fallimenti=$((fallimenti + 1))
}

# uguale DESCRIZIONE ATTESO OTTENUTO; contiene and non_contiene DESCRIZIONE TESTO PARTE
uguale() { [ "$2" = "$3" ] || fallito "$1: atteso [$2], ottenuto [$3]"; }
contiene() { [[ "$2" == *"$3"* ]] || fallito "$1: [$3] manca in [$2]"; }
non_contiene() { [[ "$2" != *"$3"* ]] || fallito "$1: [$3] non doveva esserci"; }

fine_prove() {
    if [ "$fallimenti" -ne 0 ]; then
        echo "$fallimenti controlli falliti" >&2
        exit 1
    fi
    echo "tutti i controlli superati"
}

termina() {
    if [ -n "$pid_simulatore" ]; then
        kill "$pid_simulatore" 2>/dev/null || true
        wait "$pid_simulatore" 2>/dev/null || true
    fi
    rm -rf "$lavoro"
}
trap termina EXIT

# avvia_simulatore ARGOMENTI...: starts it on a free port, sets $porta from its first line.
avvia_simulatore() {
    : >"$lavoro/uscita.log"
    "$simulatore" --porta 0 --pki "$pki" "$@" >>"$lavoro/uscita.log" 2>&1 &
    pid_simulatore=$!
    for _ in $(seq 200); do
        # A whole first line: a port read while it is being written would be cut short.
        if [ "$(wc -l <"$lavoro/uscita.log")" -ge 1 ]; then
            porta=$(head -n 1 "$lavoro/uscita.log")
            [[ "$porta" =~ ^[0-9]+$ ]] && return 0
            break
        fi
        kill -0 "$pid_simulatore" 2>/dev/null || break
        sleep 0.02
    done
    echo "il simulatore non si e' avviato:" >&2
    cat "$lavoro/uscita.log" >&2
    exit 1
}

# ferma_simulatore: SIGTERM, and the simulator must end cleanly.
ferma_simulatore() {
    local codice=0
    kill "$pid_simulatore"
    wait "$pid_simulatore" || codice=$?
    pid_simulatore=
    uguale "uscita del simulatore dopo SIGTERM" 0 "$codice"
}
