#include "process/r4_procedure.h"

#include "services/orologio.h"
#include "services/pompa_eventi.h"
#include "text/testo.h"

namespace meravo {

namespace {

constexpr double secondi_al_giorno = 86400.0;
// Short enough that the form stays responsive, long enough not to keep a core busy.
constexpr std::chrono::milliseconds passo{5};

} // namespace

void attendi(double secondi, Orologio& orologio, PompaEventi& pompa) {
    if (!(secondi > 0)) {
        return;
    }
    // Elapsed time is added up reading by reading: a reading lower than the previous one means
    // the timer went through midnight and started again from 0.
    double precedente = orologio.secondi_da_mezzanotte();
    double trascorsi = 0;
    for (;;) {
        const double adesso = orologio.secondi_da_mezzanotte();
        double delta = adesso - precedente;
        if (delta < 0) {
            delta += secondi_al_giorno;
        }
        trascorsi += delta;
        precedente = adesso;
        if (trascorsi >= secondi) {
            return;
        }
        pompa.esegui_eventi_in_attesa();
        orologio.pausa(passo);
    }
}

std::string appiattisci_testo(std::optional<std::string>& valore) {
    if (!valore) {
        valore = std::string();
    }
    const std::string& testo = *valore;
    std::string piegato;
    piegato.reserve(testo.size());
    for (std::size_t i = 0; i < testo.size(); ++i) {
        if (testo[i] == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n') {
            piegato += "||";
            ++i;
        } else {
            piegato.push_back(testo[i]);
        }
    }
    return testo::rifilato(piegato);
}

std::string ripristina_a_capo(std::string& testo) {
    // One pass left to right gives what replacing the first "||" again and again would: the
    // line break written in never forms a new "||".
    for (std::size_t i = testo.find("||"); i != std::string::npos; i = testo.find("||", i + 2)) {
        testo[i] = '\r';
        testo[i + 1] = '\n';
    }
    return testo;
}

} // namespace meravo
