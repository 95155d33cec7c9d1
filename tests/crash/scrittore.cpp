// Test child: writes one kind of file over and over, through the module's own code, until it is
// killed. Arguments: the kind ("scambio", "tabella" or "elenco") and the folder. It writes one
// byte on standard output when its first whole version is on disk and one more after the
// second, so that the test kills it only once it is writing and knows how long one round takes;
// a write that fails ends it with status 3.
#include "doppi/doppi.h"
#include "form/frm_meravo.h"
#include "versioni.h"

#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <utility>

namespace {

namespace fs = std::filesystem;
using namespace meravo;
using namespace meravo::prova;
using crash::Servizi;

constexpr int uscita_argomenti = 2;
constexpr int uscita_scrittura = 3;

int ripeti(const std::function<bool(int)>& scrivi) {
    for (int i = 0;; ++i) {
        if (!scrivi(i) || (i < 2 && ::write(STDOUT_FILENO, "1", 1) != 1)) {
            return uscita_scrittura;
        }
    }
}

int scambio(const fs::path& cartella) {
    Servizi s;
    ServiziForm servizi(s.messaggi, s.orologio, s.pompa, s.segnale, cartella);
    servizi.tabelle_icdix = std::make_shared<TabelleIcdix>();
    frm_Meravo form(std::move(servizi));
    form.file_input = (cartella / crash::nome_scambio).string();
    form.certificati = crash::archivio(0);
    ArchivioCertificati altro = crash::archivio(1);
    return ripeti([&](int i) {
        if (i > 0) {
            std::swap(form.certificati, altro);
        }
        return form.salva_archivio().ok();
    });
}

int tabella(const fs::path& cartella) {
    Servizi s;
    Cls_Critto versioni[] = {{s.orologio, s.pompa, s.messaggi}, {s.orologio, s.pompa, s.messaggi}};
    if (!crash::carica_tabella(versioni[0], cartella, 0) ||
        !crash::carica_tabella(versioni[1], cartella, 1)) {
        return uscita_scrittura;
    }
    return ripeti([&](int i) {
        return crash::salva_tabella(versioni[i % 2], cartella / crash::nome_tabella, i % 2);
    });
}

int elenco(const fs::path& cartella) {
    Servizi s;
    Cls_Critto elenco(s.orologio, s.pompa, s.messaggi);
    return ripeti([&](int i) {
        // The first version is the list as written afresh; then the changes go round.
        return i == 0 ? crash::prepara_elenco(elenco, cartella)
                      : crash::cambia_elenco(elenco, i - 1);
    });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        return uscita_argomenti;
    }
    const std::string tipo = argv[1];
    const fs::path cartella = argv[2];
    if (tipo == "scambio") {
        return scambio(cartella);
    }
    if (tipo == "tabella") {
        return tabella(cartella);
    }
    if (tipo == "elenco") {
        return elenco(cartella);
    }
    return uscita_argomenti;
}
