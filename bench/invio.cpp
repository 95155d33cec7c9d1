// One national send through the local stand-in against the bare runs of the same four openssl
// commands and the same curl command.
#include "form/frm_meravo.h"
#include "national/invio_inps.h"
#include "national/richiesta_inps.h"
#include "national/trasporto_inps.h"
#include "process/riga_comando.h"
#include "services/messaggi.h"
#include "services/orologio.h"
#include "services/pompa_eventi.h"
#include "services/segnale.h"

#include "rapporti.h"
#include "simulatore_prova.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using meravo::prova::SimulatoreProva;

class Silenzio final : public meravo::Messaggi, public meravo::Segnale {
public:
    meravo::Risposta mostra(std::string_view testo, std::string_view, meravo::Icona,
                            meravo::Pulsanti) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(testo.size()), testo.data());
        return meravo::Risposta::ok;
    }
    void beep() override {}
};

// A program folder with the tools, the certificates and the sample tables, the stand-in
// running, and a form filled for a valid certificate.
struct Banco {
    meravo::prova::CartellaTemporanea cartella;
    meravo::prova::CartellaTemporanea pki;
    Silenzio silenzio;
    meravo::OrologioDiSistema orologio;
    meravo::PompaEventiNulla pompa;
    std::unique_ptr<SimulatoreProva> simulatore;
    std::unique_ptr<meravo::frm_Meravo> form;
    std::unique_ptr<meravo::InvioInps> invio;

    Banco() {
        const auto p = cartella.percorso();
        const auto comando =
            std::string(MERAVO_SCRIPT_PKI) + " " + pki.percorso().string() + " >/dev/null 2>&1";
        if (std::system(comando.c_str()) != 0) {
            std::fprintf(stderr, "scripts/pki failed\n");
            std::exit(1);
        }
        simulatore = std::make_unique<SimulatoreProva>(MERAVO_SIMULATORE, pki.percorso().c_str(),
                                                       cartella.percorso());
        meravo::prova::prepara_studio(cartella, pki.percorso(), MERAVO_DATI_ESEMPIO,
                                      std::string("000utente=") + SimulatoreProva::utente + "\r\n");
        meravo::ServiziForm servizi(silenzio, orologio, pompa, silenzio, p);
        const auto host = simulatore->host();
        servizi.ambiente = [host](std::string_view nome) -> std::optional<std::string> {
            return nome == "MERAVO_INPS_HOST" ? std::optional(host) : std::nullopt;
        };
        form = std::make_unique<meravo::frm_Meravo>(std::move(servizi));
        form->avvia(cartella.file("paziente.txt"));
        form->dt_fine.Text(form->dt_inizio.Text());
        form->cod_icdix.Text = "487.1";
        invio = std::make_unique<meravo::InvioInps>(*form);
    }
};

Banco& banco() {
    static Banco b;
    return b;
}

void esegui(const std::string& riga) {
    const auto argomenti = meravo::riga_comando::dividi(riga);
    std::string comando;
    for (const auto& a : argomenti) {
        comando += "'" + a + "' ";
    }
    comando += ">/dev/null 2>&1";
    if (std::system(comando.c_str()) == -1) {
        std::abort();
    }
}

// The same tool runs, one after the other, with nothing of the module around them.
void invio_base(benchmark::State& stato) {
    auto& b = banco();
    const auto p = b.cartella.percorso();
    const auto lavoro = p / "nudo";
    fs::create_directories(lavoro);
    meravo::DatiCurl curl{
        p, true, SimulatoreProva::utente, SimulatoreProva::password, b.form->endpoint_invio, ""};
    auto dati = meravo::dati_richiesta_invio(*b.form);
    curl.richiesta = meravo::componi_richiesta_invio(dati);
    b.cartella.scrivi("nudo/credenziali.cfg", meravo::configurazione_curl(curl));
    b.cartella.scrivi("nudo/richiesta.xml", curl.richiesta);
    for (auto _ : stato) {
        for (int i = 0; i < 2; ++i) {
            b.cartella.scrivi("nudo/stringa.txt",
                              i == 0 ? SimulatoreProva::pin : "BNCGLI85C41F205Q");
            esegui(meravo::riga_comando_cifra(p, lavoro / "stringa.txt", lavoro / "stringa.enc"));
            esegui(
                meravo::riga_comando_base64(p, lavoro / "stringa.enc", lavoro / "stringa.enc.b64"));
        }
        esegui(meravo::riga_comando_curl(curl, lavoro));
    }
}

void invio_modulo(benchmark::State& stato) {
    auto& b = banco();
    for (auto _ : stato) {
        if (b.invio->invia_certificato_inps() != meravo::EsitoInvio::riuscito) {
            stato.SkipWithError("the send failed");
            break;
        }
    }
}

BENCHMARK(invio_base)->Name("invio/base")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(invio_modulo)->Name("invio/InvioInps")->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return meravo::bench::esegui_con_rapporti(argc, argv);
}
