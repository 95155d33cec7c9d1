// The regional road through real COM automation: the component's stand-in server, registered
// with regsvr32 under the component's ProgID, reached through the module's own adapter.
#include "regional/invio_siss.h"

#include "banco_siss.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

TEST(ComponenteCom, InvioErroreEAnnullamentoAttraversoCom) {
    prova::BancoSiss b;
    auto& f = b.avvia_compilato();
    InvioSiss invio(f, crea_componente_regionale(f.servizi(), f.modo_test));
    ASSERT_EQ(invio.invia_certificato_siss(), EsitoInvio::riuscito);
    EXPECT_EQ(f.protocollo, "900001");
    EXPECT_TRUE(b.cartella.leggi("invio_siss.txt").ends_with("</SOAP-ENV:Envelope>\r\n"));

    f.dt_fine.Text("9/1/2024");
    EXPECT_EQ(invio.invia_certificato_siss(), EsitoInvio::rifiutato);
    ASSERT_EQ(b.messaggi.mostrati.size(), 1U);
    EXPECT_NE(b.messaggi.mostrati[0].testo.find("Formato non valido - dataFine - Data attesa"),
              std::string::npos);

    f.certificati.aggiungi_da_input("k\xA7PROT1");
    EXPECT_EQ(invio.annulla_certificato_siss("k"), EsitoInvio::riuscito);
    EXPECT_NE(b.cartella.leggi("risposta_siss_canc.txt").find("<annullato>S</annullato>"),
              std::string::npos);
    EXPECT_EQ(b.messaggi.mostrati.size(), 1U);
}

} // namespace
} // namespace meravo
