#include "form/frm_meravo.h"
#include "regional/dataset_siss.h"

#include "banco_siss.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

using prova::BancoSiss;

TEST(DatasetSiss, ModuloCompletoRigaPerRiga) {
    BancoSiss b;
    EXPECT_EQ(componi_dataset_invio(b.avvia_compilato()),
              prova::documento_atteso(MERAVO_ATTESI "/dataset_invio.xml"));
}

TEST(DatasetSiss, OgniRegolaDeiCampi) {
    const struct {
        std::function<void(frm_Meravo&)> cambia;
        std::string presente, assente;
    } casi[] = {
        // The availability block goes with its street alone, the name only when given.
        {[](frm_Meravo& f) { f.nominativo.Text = "  "; },
         "<residenzaReperibilita>\r\n<indirizzo>Via Po 2", "nominativo"},
        {[](frm_Meravo& f) { f.nominativo_via.Text = " "; }, "</lavoratore>",
         "residenzaReperibilita"},
        {[](frm_Meravo& f) { f.opt_visita = 0, f.opt_tipo = 1; },
         "<tipoVisita>A</tipoVisita>\r\n<tipoCertificato>C</tipoCertificato>", "<tipoVisita>D"},
        {[](frm_Meravo& f) { f.note_diagnosi.Text = " " + std::string(100, 'a') + "bbb "; },
         "<noteDiagnosi>" + std::string(100, 'a') + "</noteDiagnosi>", "bbb"},
        {[](frm_Meravo& f) { f.dt_nascita.Text("7/3/1965"); }, "<dataNascita></dataNascita>",
         "1965"},
        // Born abroad: the state's code, and "EE" as province, on the form too.
        {[](frm_Meravo& f) { f.comune_nascita.Text = " albania ", f.provincia_nascita.Text = ""; },
         "<idComuneNascita>999201</idComuneNascita>\r\n<comuneNascita>albania</comuneNascita>"
         "\r\n<provinciaNascita>EE</provinciaNascita>",
         "RM</provinciaNascita>\r\n<residenzaAbituale>"},
        {[](frm_Meravo& f) { f.residenza_comune.Text = "Atlantide"; },
         "<idComune></idComune>\r\n<comune>Atlantide</comune>", "015146"},
    };
    for (const auto& c : casi) {
        BancoSiss b;
        auto& f = b.avvia_compilato();
        c.cambia(f);
        const auto dataset = componi_dataset_invio(f);
        EXPECT_NE(dataset.find(c.presente), std::string::npos) << c.presente;
        EXPECT_EQ(dataset.find(c.assente), std::string::npos) << c.assente;
        // Only a birth abroad changes the form's province.
        EXPECT_EQ(f.provincia_nascita.Text,
                  c.presente.find("999201") == std::string::npos ? "RM" : "EE");
    }
}

TEST(DatasetSiss, NomeDelMedicoEDate) {
    const struct {
        std::string testo, cognome, nome;
    } casi[] = {{"Rossi*Mario Luigi", "Rossi", "Mario Luigi"},
                {" Rossi Mario Luigi", "", "Rossi Mario Luigi"},
                {"Rossi Mario Luigi", "Rossi", "Mario Luigi"},
                {"De Rossi * Anna", "De Rossi", "Anna"},
                {"  Rossi  ", "", "Rossi"},
                {"Rossi", "Rossi", ""}};
    for (const auto& c : casi) {
        const auto diviso = dividi_nome_medico(c.testo);
        EXPECT_EQ(diviso.cognome + "|" + diviso.nome, c.cognome + "|" + c.nome) << c.testo;
    }
    EXPECT_EQ(data_dataset(" 07/03/1965 "), "19650307");
    EXPECT_EQ(data_dataset("7/03/1965"), "");
}

TEST(DatasetSiss, AnnullamentoDalRecordArchiviato) {
    BancoSiss b;
    auto& f = b.avvia_compilato();
    f.certificati.aggiungi_da_input("20240105093000\247PROT<1>" + std::string(16, '\xA7') +
                                    " BNCNNA80A41F205X ");
    const auto dataset = componi_dataset_annullamento(f, "20240105093000");
    EXPECT_NE(dataset.find("SOAP-ENV:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">"
                           "\r\n<SOAP-ENV:Body>\r\n<m:GCM.cancellaCertificatoMalattia xmlns:m=\""
                           "http://www.crs.lombardia.it/schemas/DCSanita/SALUS/2010-01/"
                           "cancellaCertificatoMalattia/\" dataSetVersion=\"1.0\">\r\n<param>\r\n"
                           "<cancellaCertificato>\r\n<medico>\r\n"),
              std::string::npos);
    EXPECT_TRUE(dataset.ends_with(
        "<regione>030</regione>\r\n</medico>\r\n<lavoratore>\r\n"
        "<codiceFiscale>BNCNNA80A41F205X</codiceFiscale>\r\n</lavoratore>\r\n<certificato>\r\n"
        "<protocolloDaCancellare>PROT&lt;1&gt;</protocolloDaCancellare>\r\n</certificato>\r\n"
        "</cancellaCertificato>\r\n</param>\r\n</m:GCM.cancellaCertificatoMalattia>\r\n"
        "</SOAP-ENV:Body>\r\n</SOAP-ENV:Envelope>"));
    EXPECT_NE(componi_dataset_annullamento(f, "assente")
                  .find("<protocolloDaCancellare></protocolloDaCancellare>"),
              std::string::npos);
}

} // namespace
} // namespace meravo
