// Cancelling an archived certificate for real: sent through the national road, then cancelled
// from the archive browser with the real curl and openssl against the local stand-in.
#include "archive/elimina.h"
#include "exchange/record_certificato.h"
#include "form/frm_meravo.h"
#include "national/annullamento_inps.h"
#include "national/invio_inps.h"

#include "doppi/doppi.h"
#include "studio_inps.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

const std::string sep(1, record_certificato::separatore);
const std::string record_precedente = "20231201080000" + sep + "VECCHIO" + sep + "01/12/2023";

struct Studio : prova::StudioInps {
    std::unique_ptr<Elimina> browser;

    Studio()
        : StudioInps("000utente=" + std::string(prova::SimulatoreProva::utente) +
                     "\r\n000certificato=" + record_precedente + "\r\n") {
        browser = std::make_unique<Elimina>(*form);
        collega_annullamento_nazionale(*browser, *form, *invio);
    }

    // Sends a certificate and archives it as the send-and-print sequence does.
    std::string invia_e_archivia() {
        if (!invio->invia_certificato_inps()) {
            return {};
        }
        std::vector<std::optional<std::string>> campi(record_certificato::numero_campi - 1);
        campi[0] = form->protocollo;
        campi[16] = form->txt_cf.Text;
        return form->certificati.archivia_certificato(orologio.adesso(), campi);
    }

    void annulla(int indice, std::deque<Risposta> risposte) {
        messaggi.risposte = std::move(risposte);
        browser->carica_inps();
        browser->list1_Click(indice);
        browser->elimina_Click();
    }
};

TEST(AnnullamentoInps, AnnullatoDalServizioEToltoDalFileDiScambioPoiGiaAnnullato) {
    Studio s;
    const auto chiave = s.invia_e_archivia();
    ASSERT_FALSE(chiave.empty()) << (s.messaggi.mostrati.empty() ? ""
                                                                 : s.messaggi.mostrati[0].testo);
    const auto id_certificato = s.form->protocollo;
    const auto record = *s.form->certificati.leggi(chiave);
    s.browser->archivio_Click();
    ASSERT_EQ(s.browser->list1().size(), 2U);

    s.annulla(1, {Risposta::si});
    ASSERT_EQ(s.messaggi.mostrati.size(), 1U) << s.messaggi.mostrati.back().testo; // the question
    const auto id_annullamento = s.form->protocollo;
    EXPECT_FALSE(id_annullamento.empty());
    EXPECT_NE(id_annullamento, id_certificato);
    const auto voce = s.simulatore.ultima_richiesta();
    EXPECT_NE(voce.find("\"idAnnullamento\":\"" + id_annullamento + "\""), std::string::npos)
        << voce;
    EXPECT_NE(voce.find("\"pinCorretto\":true"), std::string::npos) << voce;
    EXPECT_EQ(s.browser->list1(), std::vector<std::string>{"01/12/2023 08:00:00"});
    // Written at once: the caller's archive no longer holds the cancelled certificate.
    EXPECT_EQ(s.cartella.leggi("paziente.txt"), record_precedente + "\r\n");

    // The record comes back (another copy of the caller's archive): the service says it is
    // already cancelled and the doctor decides; No keeps it.
    s.form->certificati.aggiungi_da_input(record);
    s.annulla(1, {Risposta::si, Risposta::no});
    ASSERT_EQ(s.messaggi.mostrati.size(), 3U);
    EXPECT_EQ(s.messaggi.mostrati[2].testo,
              "Certificato gi\xE0 annullato su server centrale. Eliminarlo in locale?");
    EXPECT_EQ(s.form->certificati.size(), 2U);
    EXPECT_EQ(s.form->protocollo, "\r\nCertificato annullato in precedenza");
}

TEST(AnnullamentoInps, RecordCortoSiAnnullaConValoriVuotiSenzaDanni) {
    Studio s;
    s.browser->archivio_Click();
    s.annulla(0, {Risposta::si});
    ASSERT_EQ(s.messaggi.mostrati.size(), 2U);
    EXPECT_EQ(s.messaggi.mostrati[1].testo.rfind("Impossibile eliminare il certificato per i "
                                                 "seguenti motivi:\r\n",
                                                 0),
              0U)
        << s.messaggi.mostrati[1].testo;
    EXPECT_EQ(s.form->certificati.size(), 1U);
    const auto voce = s.simulatore.ultima_richiesta();
    // The record ends before the worker's fiscal code: it travels empty.
    EXPECT_NE(voce.find("\"codiceFiscale\":\"\",\"campi\":{\"idCertificato\":\"VECCHIO\"}"),
              std::string::npos)
        << voce;
}

} // namespace
} // namespace meravo
