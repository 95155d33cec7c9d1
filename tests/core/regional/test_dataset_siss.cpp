#include "form/frm_meravo.h"
#include "regional/componente_simulato.h"
#include "regional/dataset_siss.h"
#include "regional/invio_siss.h"

#include "banco_siss.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

using prova::BancoSiss;

const std::string busta_invio =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
    "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\" "
    "xmlns:xsd=\"http://www.w3.org/1999/XMLSchema\" "
    "xmlns:xsi=\"http://www.w3.org/1999/XMLSchema-instance\" "
    "SOAP-ENV:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\" >\r\n"
    "<SOAP-ENV:Body>\r\n"
    "<m:GCM.invioCertificatoMalattia xmlns:m=\"http://www.crs.lombardia.it/schemas/DCSanita/"
    "SALUS/2010-01/invioCertificatoMalattia/\" dataSetVersion=\"1.0\">\r\n"
    "<param>\r\n<invioCertificato>\r\n<medico>\r\n"
    "<codiceFiscale>RSSMRA60A01F205Z</codiceFiscale>\r\n<cognome>Rossi</cognome>\r\n"
    "<nome>Mario Luigi</nome>\r\n<codiceASL>308</codiceASL>\r\n<regione>030</regione>\r\n"
    "</medico>\r\n<lavoratore>\r\n<codiceFiscale>BNCNNA80A41F205X</codiceFiscale>\r\n";

TEST(DatasetSiss, ModuloCompletoRigaPerRiga) {
    BancoSiss b;
    const auto dataset = componi_dataset_invio(b.avvia_compilato());
    EXPECT_EQ(dataset,
              busta_invio +
                  "<cognome>D&apos;Amico &amp; &lt;Figli&gt;</cognome>\r\n<nome>Anna</nome>\r\n"
                  "<sesso>F</sesso>\r\n<dataNascita>19650307</dataNascita>\r\n"
                  "<idComuneNascita>058091</idComuneNascita>\r\n"
                  "<comuneNascita>Roma</comuneNascita>\r\n<provinciaNascita>RM</provinciaNascita>"
                  "\r\n<residenzaAbituale>\r\n<indirizzo>Via Roma 1</indirizzo>\r\n"
                  "<CAP>20121</CAP>\r\n<idComune>015146</idComune>\r\n<comune>milano</comune>\r\n"
                  "<provincia>MI</provincia>\r\n</residenzaAbituale>\r\n"
                  "<residenzaReperibilita>\r\n<nominativo>c/o Verdi</nominativo>\r\n"
                  "<indirizzo>Via Po 2</indirizzo>\r\n<CAP>00118</CAP>\r\n"
                  "<idComune>058091</idComune>\r\n<comune>Roma</comune>\r\n"
                  "<provincia>RM</provincia>\r\n</residenzaReperibilita>\r\n</lavoratore>\r\n"
                  "<certificato>\r\n<dataRilascio>20240105</dataRilascio>\r\n"
                  "<dataInizio>20240105</dataInizio>\r\n<dataFine>20240109</dataFine>\r\n"
                  "<tipoVisita>D</tipoVisita>\r\n<tipoCertificato>R</tipoCertificato>\r\n"
                  "<codiceDiagnosi>487.1</codiceDiagnosi>\r\n"
                  "<noteDiagnosi>Febbre</noteDiagnosi>\r\n</certificato>\r\n"
                  "</invioCertificato>\r\n</param>\r\n</m:GCM.invioCertificatoMalattia>\r\n"
                  "</SOAP-ENV:Body>\r\n</SOAP-ENV:Envelope>");
}

TEST(DatasetSiss, BloccoDiReperibilitaSoloConLaVia) {
    BancoSiss b;
    auto& f = b.avvia_compilato();
    f.nominativo.Text = "  ";
    EXPECT_NE(componi_dataset_invio(f).find("<residenzaReperibilita>\r\n<indirizzo>Via Po 2"),
              std::string::npos);
    f.nominativo.Text = "c/o Verdi";
    f.nominativo_via.Text = " ";
    const auto senza = componi_dataset_invio(f);
    EXPECT_EQ(senza.find("residenzaReperibilita"), std::string::npos);
    EXPECT_EQ(senza.find("nominativo"), std::string::npos);
}

TEST(DatasetSiss, CodiciDiVisitaETipoENoteTroncate) {
    BancoSiss b;
    auto& f = b.avvia_compilato();
    f.opt_visita = 0;
    f.opt_tipo = 1;
    f.note_diagnosi.Text = " " + std::string(100, 'a') + std::string(50, 'b') + " ";
    f.dt_nascita.Text("7/3/1965");
    const auto dataset = componi_dataset_invio(f);
    EXPECT_NE(dataset.find("<tipoVisita>A</tipoVisita>\r\n<tipoCertificato>C</tipoCertificato>"),
              std::string::npos);
    EXPECT_NE(dataset.find("<noteDiagnosi>" + std::string(100, 'a') + "</noteDiagnosi>"),
              std::string::npos);
    EXPECT_NE(dataset.find("<dataNascita></dataNascita>"), std::string::npos);
}

TEST(DatasetSiss, NatoAllEsteroEComuneSconosciuto) {
    BancoSiss b;
    auto& f = b.avvia_compilato();
    f.comune_nascita.Text = " albania ";
    f.provincia_nascita.Text = "";
    f.residenza_comune.Text = "Atlantide";
    const auto dataset = componi_dataset_invio(f);
    EXPECT_NE(dataset.find("<idComuneNascita>999201</idComuneNascita>\r\n<comuneNascita>albania"
                           "</comuneNascita>\r\n<provinciaNascita>EE</provinciaNascita>"),
              std::string::npos);
    EXPECT_EQ(f.provincia_nascita.Text, "EE");
    EXPECT_NE(dataset.find("<idComune></idComune>\r\n<comune>Atlantide</comune>"),
              std::string::npos);
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

TEST(DatasetSiss, CodiceDelComuneADueCifreSei) {
    BancoSiss b;
    auto& f = b.avvia();
    EXPECT_EQ(codice_comune(f.tabella_comuni, " Milano "), "015146");
    EXPECT_EQ(codice_comune(f.tabella_comuni, "Atlantide"), "");
}

TEST(DatasetSiss, AnnullamentoDalRecordArchiviato) {
    BancoSiss b;
    auto& f = b.avvia_compilato();
    std::string record = "20240105093000\xA7PROT<1>";
    for (int i = 2; i <= 16; ++i) {
        record += "\xA7";
    }
    f.certificati.aggiungi_da_input(record + "\xA7 BNCNNA80A41F205X ");
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
