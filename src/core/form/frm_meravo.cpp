#include "form/frm_meravo.h"

#include "exchange/file_input.h"
#include "form/indirizzi.h"
#include "report/copie_certificato.h"
#include "services/messaggi.h"
#include "services/orologio.h"
#include "services/pompa_eventi.h"
#include "tables/file_interi.h"
#include "tables/lettore_righe.h"
#include "text/testo.h"
#include "textbox/data_digitata.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace meravo {

namespace {

constexpr std::string_view titolo_ostrel = "Ostrel 2";
constexpr int data_gg_mm_aaaa = 1;

struct CampoDiForm {
    std::string_view nome;
    Campo frm_Meravo::*campo;
};

constexpr CampoDiForm campi_testo[] = {
    {"nome_medico", &frm_Meravo::nome_medico},
    {"cod_reg_medico", &frm_Meravo::cod_reg_medico},
    {"asl_medico", &frm_Meravo::asl_medico},
    {"utente", &frm_Meravo::utente},
    {"password", &frm_Meravo::password},
    {"cf_medico", &frm_Meravo::cf_medico},
    {"cognome", &frm_Meravo::cognome},
    {"nome", &frm_Meravo::nome},
    {"txt_cf", &frm_Meravo::txt_cf},
    {"comune_nascita", &frm_Meravo::comune_nascita},
    {"provincia_nascita", &frm_Meravo::provincia_nascita},
    {"sesso", &frm_Meravo::sesso},
    {"residenza_via", &frm_Meravo::residenza_via},
    {"residenza_cap", &frm_Meravo::residenza_cap},
    {"residenza_comune", &frm_Meravo::residenza_comune},
    {"residenza_provincia", &frm_Meravo::residenza_provincia},
    {"cod_icdix", &frm_Meravo::cod_icdix},
    {"note_diagnosi", &frm_Meravo::note_diagnosi},
    {"nominativo", &frm_Meravo::nominativo},
    {"nominativo_via", &frm_Meravo::nominativo_via},
    {"nominativo_cap", &frm_Meravo::nominativo_cap},
    {"nominativo_comune", &frm_Meravo::nominativo_comune},
    {"nominativo_provincia", &frm_Meravo::nominativo_provincia},
};

struct DataDiForm {
    std::string_view nome;
    Txtctl frm_Meravo::*data;
};

constexpr DataDiForm campi_data[] = {
    {"dt_nascita", &frm_Meravo::dt_nascita},
    {"dt_rilascio", &frm_Meravo::dt_rilascio},
    {"dt_inizio", &frm_Meravo::dt_inizio},
    {"dt_fine", &frm_Meravo::dt_fine},
};

// A date written gg/mm/aaaa as aaaammgg, so that two dates compare as texts.
std::string aaaammgg(const std::string& data) {
    return data.substr(6, 4) + data.substr(3, 2) + data.substr(0, 2);
}

bool vuoto(std::string_view testo) {
    return testo::rifila(testo).empty();
}

// Why a file could not be written, in words the doctor can pass on to support.
std::string motivo(int errore) {
    switch (errore) {
    case EACCES:
    case EPERM:
        return "accesso negato";
    case ENOSPC:
        return "disco pieno";
    case ENOENT:
    case ENOTDIR:
        return "la cartella non esiste";
    case EROFS:
        return "disco protetto da scrittura";
    default:
        return std::strerror(errore);
    }
}

std::string oggi(const DataOra& d) {
    char testo[16];
    std::snprintf(testo, sizeof testo, "%02d/%02d/%04d", d.giorno, d.mese, d.anno);
    return testo;
}

std::string ora(const DataOra& d) {
    char testo[16];
    std::snprintf(testo, sizeof testo, " %02d:%02d:%02d", d.ora, d.minuto, d.secondo);
    return oggi(d) + testo;
}

} // namespace

std::optional<std::string> ServiziForm::variabile_ambiente(std::string_view nome) {
    if (const char* valore = std::getenv(std::string(nome).c_str())) {
        return std::string(valore);
    }
    return std::nullopt;
}

std::filesystem::path ServiziForm::temporanea_di_sistema() {
    std::error_code errore;
    auto cartella = std::filesystem::temp_directory_path(errore);
    return errore ? std::filesystem::path() : cartella;
}

frm_Meravo::frm_Meravo(ServiziForm servizi)
    : dt_nascita(servizi.messaggi, servizi.separatore_decimale),
      dt_rilascio(servizi.messaggi, servizi.separatore_decimale),
      dt_inizio(servizi.messaggi, servizi.separatore_decimale),
      dt_fine(servizi.messaggi, servizi.separatore_decimale),
      icdix(servizi.pompa, "icdix", servizi.tabelle_icdix),
      tabella_comuni(servizi.orologio, servizi.pompa, servizi.messaggi),
      trova1(servizi.pompa, servizi.segnale, servizi.messaggi,
             [] {
                 ProprietaTrova p;
                 p.Font.nome = "MS Sans Serif";
                 p.FontLista.nome = "MS Sans Serif";
                 p.BackColor = 0x00FFFFFF;
                 p.lista_testo = "";
                 return p;
             }()),
      servizi_(std::move(servizi)) {
    for (const auto& c : controlli_form()) {
        if (auto* campo_testo = campo(c.nome)) {
            campo_testo->MaxLength = c.lunghezza_massima;
            if (c.obbligatorio) {
                campo_testo->BackColor = colori::rosa_obbligatori;
            }
        } else if (auto* box = data(c.nome)) {
            box->Tipodati(data_gg_mm_aaaa);
            if (c.obbligatorio) {
                box->BackColor(colori::rosa_obbligatori);
            }
        }
    }
    siss.Visible = false;
    cmd_crypta.Visible = false;
    trova1.eventi().selezione_confermata = [this] { selezione_confermata(); };
}

Campo* frm_Meravo::campo(std::string_view nome) {
    for (const auto& c : campi_testo) {
        if (c.nome == nome) {
            return &(this->*c.campo);
        }
    }
    return nullptr;
}

Txtctl* frm_Meravo::data(std::string_view nome) {
    for (const auto& d : campi_data) {
        if (d.nome == nome) {
            return &(this->*d.data);
        }
    }
    return nullptr;
}

std::string frm_Meravo::testo(std::string_view nome) const {
    auto* form = const_cast<frm_Meravo*>(this);
    if (const auto* c = form->campo(nome)) {
        return c->Text;
    }
    if (const auto* d = form->data(nome)) {
        return d->Text();
    }
    return {};
}

void frm_Meravo::imposta_testo(std::string_view nome, std::string_view valore) {
    if (auto* c = campo(nome)) {
        c->Text = std::string(valore);
    } else if (auto* d = data(nome)) {
        d->Text(valore);
    }
}

bool frm_Meravo::avvia(std::string_view riga_comando) {
    file_input = testo::rifilato(riga_comando);
    usa_siss = false;
    if (file_input.empty()) {
        servizi_.messaggi.avvisa("Impossibile continuare con il caricamento", Icona::esclamazione,
                                 titolo_ostrel);
        termina(0);
        return false;
    }
    // Two modules on one exchange file would each write it back, the last one over the other's
    // certificate: the second leaves it alone.
    if (blocco_istanza_.prendi(testo::percorso(file_input)) == BloccoIstanza::Presa::occupato) {
        servizi_.messaggi.avvisa("Il certificato di questo paziente \xE8 gi\xE0 aperto in un'altra "
                                 "finestra: completarlo o chiuderlo l\xEC.",
                                 Icona::esclamazione, titolo_ostrel);
        termina(0);
        return false;
    }
    leggi_input();
    leggi_stati_esteri();
    if (usa_siss) {
        // Regional mode signs with the smart card: no password or PIN is typed here.
        for (Campo* c : {&password, &cf_medico}) {
            c->Enabled = false;
            c->BackColor = colori::sfondo_finestra;
        }
        siss.Visible = true;
    }
    diritti_file_input_ = diritti_file(testo::percorso(file_input));
    std::error_code ignorato;
    std::filesystem::remove(testo::percorso(file_input), ignorato);
    scegli_indirizzi();
    riprendi_invii_interrotti();
    if (!carica_tabelle()) {
        termina(0);
        return false;
    }
    prepara_ricerca_diagnosi();
    completa_provincia_nascita();
    const auto adesso = oggi(servizi_.orologio.adesso());
    dt_rilascio.Text(adesso);
    dt_inizio.Text(adesso);
    stato_iniziale_ = istantanea();
    return true;
}

std::vector<std::string> frm_Meravo::istantanea() const {
    std::vector<std::string> valori;
    for (const auto& c : campi_testo) {
        valori.push_back((this->*c.campo).Text);
    }
    for (const auto& d : campi_data) {
        valori.push_back((this->*d.data).Text());
    }
    valori.push_back(trova1.Text());
    valori.push_back(std::to_string(opt_tipo) + "," + std::to_string(opt_visita));
    return valori;
}

bool frm_Meravo::chiusura_richiesta() {
    if (occupato()) {
        return false; // a certificate may reach INPS and never its record
    }
    if (fase_stampa_ == FaseStampa::archiviato || istantanea() == stato_iniziale_) {
        return true;
    }
    return servizi_.messaggi.chiedi("Chiudere senza salvare il certificato?");
}

void frm_Meravo::leggi_input() {
    DatiInput d;
    if (!leggi_file_input(file_input, d, certificati)) {
        // The form then opens empty: the doctor must know why before anything else happens.
        servizi_.messaggi.avvisa("Impossibile leggere il file di scambio " + file_input +
                                     ": il modulo prosegue senza i dati del paziente e i suoi "
                                     "certificati.",
                                 Icona::esclamazione, titolo_ostrel);
    }
    direttorio_tabelle = d.direttorio_tabelle;
    nome_medico.Text = d.nome_medico;
    cod_reg_medico.Text = d.cod_reg_medico;
    asl_medico.Text = d.asl_medico;
    cognome.Text = d.cognome;
    nome.Text = d.nome;
    txt_cf.Text = d.txt_cf;
    dt_nascita.Text(d.dt_nascita);
    comune_nascita.Text = d.comune_nascita;
    provincia_nascita.Text = d.provincia_nascita;
    sesso.Text = d.sesso;
    residenza_via.Text = d.residenza_via;
    residenza_cap.Text = d.residenza_cap;
    residenza_comune.Text = d.residenza_comune;
    residenza_provincia.Text = d.residenza_provincia;
    utente.Text = d.utente;
    password.Text = d.password;
    cf_medico.Text = d.cf_medico;
    usa_siss = d.usa_siss;
}

void frm_Meravo::leggi_stati_esteri() {
    stati_esteri = {};
    const auto testo_file =
        leggi_file_intero(testo::percorso(direttorio_tabelle + "StatiEsteri_siss.txt"));
    if (!testo_file) {
        return;
    }
    LettoreRighe righe(*testo_file);
    while (const auto riga = righe.prossima()) {
        const auto codice = riga->substr(0, 6);
        const auto nome_stato = riga->size() > 6 ? riga->substr(6) : std::string_view{};
        stati_esteri.aggiungi(testo::maiuscolo(testo::rifila(nome_stato)), std::string(codice));
    }
}

void frm_Meravo::scegli_indirizzi() {
    std::error_code ignorato;
    modo_test = std::filesystem::exists(servizi_.cartella_programma / "debug_inps.txt", ignorato);
    std::string host(modo_test ? indirizzi::host_inps_test : indirizzi::host_inps_produzione);
    if (auto sostituto = host_di_prova(indirizzi::variabile_host_inps)) {
        host = *sostituto;
    }
    endpoint_invio = host + std::string(indirizzi::percorso_invio);
    endpoint_annullamento = host + std::string(indirizzi::percorso_annullamento);
}

std::optional<std::string> frm_Meravo::host_di_prova(std::string_view variabile) const {
    // Only an installation marked for the test service may be pointed elsewhere, and only over
    // TLS: the credentials travel with every request, and a variable set by mistake or by
    // someone else must not send them in clear or to a host of theirs.
    if (!modo_test) {
        return std::nullopt;
    }
    auto host = servizi_.ambiente(variabile);
    if (!host || !host->starts_with("https://") || host->size() == 8) {
        return std::nullopt;
    }
    return host;
}

void frm_Meravo::termina(int codice) {
    if (terminato_) {
        return;
    }
    terminato_ = true;
    codice_uscita_ = codice;
    if (fine_programma) {
        fine_programma(codice);
    }
}

void frm_Meravo::abilita_pulsanti(bool abilitati) {
    Stampa.Enabled = abilitati;
    salva.Enabled = abilitati;
    archivio.Enabled = abilitati;
    segnala_stato();
}

void frm_Meravo::segnala_stato() {
    if (stato_cambiato) {
        stato_cambiato();
    }
}

frm_Meravo::Lavoro::Lavoro(frm_Meravo& form, std::string attivita) : form_(form) {
    form_.attivita_ = std::move(attivita);
    form_.segnala_stato();
    form_.servizi_.pompa.esegui_eventi_in_attesa();
}

frm_Meravo::Lavoro::~Lavoro() {
    // Clicks and keys that queued up while the run blocked the window reach it now, while it
    // still drops them: a double click must not act again once the buttons are back.
    form_.servizi_.pompa.esegui_eventi_in_attesa();
    form_.attivita_.clear();
    form_.segnala_stato();
}

bool frm_Meravo::data_respinta() const {
    return std::any_of(std::begin(campi_data), std::end(campi_data),
                       [this](const DataDiForm& d) { return (this->*d.data).respinta(); });
}

bool frm_Meravo::date_in_ordine() {
    const auto inizio = data_riconosciuta(testo::rifila(dt_inizio.Text()));
    const auto fine = data_riconosciuta(testo::rifila(dt_fine.Text()));
    if (!inizio || !fine || aaaammgg(*fine) >= aaaammgg(*inizio)) {
        return true;
    }
    servizi_.messaggi.avvisa("La data di fine prognosi (" + *fine +
                                 ") \xE8 precedente alla data di inizio (" + *inizio +
                                 "): correggere le date prima dell'invio.",
                             Icona::esclamazione);
    return false;
}

bool frm_Meravo::campi_obbligatori_compilati() {
    // Regional mode signs with the smart card: no user, password or PIN is asked for there.
    static constexpr std::string_view credenziali[] = {"utente", "password", "cf_medico"};
    std::vector<std::string> mancanti;
    for (const auto& c : controlli_form()) {
        const bool esente = usa_siss && std::find(std::begin(credenziali), std::end(credenziali),
                                                  c.nome) != std::end(credenziali);
        if (!c.obbligatorio || esente || c.nome == "note_diagnosi" || !vuoto(testo(c.nome))) {
            continue;
        }
        // The diagnosis is given by its code or in words: either pink box will do.
        if (c.nome != "cod_icdix") {
            mancanti.push_back(senza_mnemonico(c.etichetta));
        } else if (vuoto(note_diagnosi.Text)) {
            mancanti.emplace_back("Codice diagnosi o Diagnosi libera");
        }
    }
    if (mancanti.empty()) {
        return true;
    }
    std::string elenco = mancanti.size() == 1 ? "\r\nManca: " : "\r\nMancano: ";
    for (std::size_t i = 0; i < mancanti.size(); ++i) {
        elenco += (i == 0 ? "" : ", ") + mancanti[i];
    }
    servizi_.messaggi.mostra("Attenzione, tutti i campi contrassegnati in rosa sono obbligatori!" +
                                 elenco,
                             titolo_predefinito, Icona::nessuna, Pulsanti::ok);
    return false;
}

void frm_Meravo::riprendi_invii_interrotti() {
    const auto cartelle = cartelle_diario(servizi_.cartella_programma, servizi_.ambiente);
    const auto diari = cerca_diari(cartelle);
    for (const auto& [percorso, voce] : diari.interrotti) {
        servizi_.messaggi.avvisa(avviso_invio_interrotto(voce), Icona::esclamazione, titolo_ostrel);
        std::error_code ignorato;
        std::filesystem::remove(percorso, ignorato);
    }
    if (!diari.invio_in_corso) {
        rimuovi_lavoro_interrotto(servizi_.cartella_programma, servizi_.cartella_temporanea);
    }
}

VoceDiario frm_Meravo::voce_diario(bool esito_ignoto) const {
    VoceDiario v;
    v.cognome = testo::rifilato(cognome.Text);
    v.nome = testo::rifilato(nome.Text);
    v.codice_fiscale = testo::rifilato(txt_cf.Text);
    v.rilascio = testo::rifilato(dt_rilascio.Text());
    v.inizio = testo::rifilato(dt_inizio.Text());
    v.fine = testo::rifilato(dt_fine.Text());
    v.strada = usa_siss ? "regionale" : "nazionale";
    v.ora = ora(servizi_.orologio.adesso());
    v.esito_ignoto = esito_ignoto;
    return v;
}

bool frm_Meravo::conferma_nuovo_invio() {
    return !esito_ignoto_ ||
           servizi_.messaggi.mostra(
               "L'esito dell'invio precedente di questo certificato non \xE8 noto: l'INPS "
               "potrebbe averlo gi\xE0 registrato. Verificarlo sul portale INPS prima di "
               "inviarlo di nuovo.\r\n\r\nInviarlo di nuovo?",
               titolo_predefinito, Icona::esclamazione,
               Pulsanti::si_no_no_predefinito) == Risposta::si;
}

void frm_Meravo::Stampa_Click() {
    // Once the certificate has gone out the button stays disabled: a press that still reaches
    // the form (a double click, a mnemonic typed twice) must never send it again.
    if (occupato() || !Stampa.Enabled || data_respinta()) {
        return;
    }
    abilita_pulsanti(false);
    if (!campi_obbligatori_compilati() || !date_in_ordine() || !conferma_nuovo_invio()) {
        abilita_pulsanti(true);
        return;
    }
    const auto& invio = usa_siss ? invio_regionale : invio_nazionale;
    if (!invio) {
        servizi_.messaggi.avvisa(usa_siss ? "Il componente regionale non \xE8 disponibile: "
                                            "impossibile inviare il certificato."
                                          : "L'invio al servizio nazionale non \xE8 disponibile.",
                                 Icona::esclamazione);
        abilita_pulsanti(true);
        return;
    }
    Lavoro lavoro(*this, "Invio del certificato in corso\x85");
    const auto cartelle = cartelle_diario(servizi_.cartella_programma, servizi_.ambiente);
    // Written before the road starts: a module killed from here on leaves it for the next start.
    // A folder that takes no journal does not stop the send.
    diario_.scrivi(cartelle, voce_diario(false));
    const auto esito = invio();
    if (esito != EsitoInvio::riuscito) {
        // The road has said what happened; the form stays as it is, and an outcome not known
        // stays in the journal, even past a later refusal, until a send goes through.
        esito_ignoto_ = esito_ignoto_ || esito == EsitoInvio::incerto;
        if (esito_ignoto_) {
            diario_.scrivi(cartelle, voce_diario(true));
        } else {
            diario_.rimuovi();
        }
        abilita_pulsanti(true);
        return;
    }
    esito_ignoto_ = false;
    fase_stampa_ = FaseStampa::in_stampa;
    fine_in_attesa_ = false;
    conferma_invio = usa_siss ? "Certificato inviato tramite il SISS: protocollo INPS " + protocollo
                              : "Certificato inviato: protocollo " + protocollo;
    ristampa.Visible = ristampa.Enabled = true;
    segnala_stato();
    // The receipt reaches the exchange file before anything can stop the module: the preview
    // and the printer come after.
    compila_lavoratore();
    const bool archiviato = archivia_certificato();
    fase_stampa_ = archiviato ? FaseStampa::archiviato : FaseStampa::pronto;
    if (archiviato) {
        diario_.rimuovi();
    } else {
        // The certificate went out but the caller has not got it back: "Salva/Esci" lets the
        // doctor try the write again once the cause is mended; until then the journal stays.
        salva.Enabled = true;
        segnala_stato();
    }
    if (archiviato && fine_in_attesa_) {
        termina(0);
        return;
    }
    stampa_certificato();
}

void frm_Meravo::ristampa_Click() {
    if (occupato() || !ristampa.Enabled || !mostra_lavoratore) {
        return;
    }
    mostra_lavoratore(lavoratore);
}

void frm_Meravo::stampa_certificato() {
    if (mostra_lavoratore) {
        mostra_lavoratore(lavoratore);
    }
    servizi_.pompa.esegui_eventi_in_attesa();
}

void frm_Meravo::compila_lavoratore() {
    // Copy field, and the form's text box or date box that fills it.
    static constexpr std::pair<std::string_view, std::string_view> da_form[] = {
        {"dt_rilascio", "dt_rilascio"},
        {"medico", "nome_medico"},
        {"codreg", "cod_reg_medico"},
        {"asl", "asl_medico"},
        {"dt_dal", "dt_inizio"},
        {"dt_al", "dt_fine"},
        {"cod_diagnosi", "cod_icdix"},
        {"diagnosi", "note_diagnosi"},
        {"cognome", "cognome"},
        {"nome", "nome"},
        {"cf", "txt_cf"},
        {"dt_nascita", "dt_nascita"},
        {"comune_nascita", "comune_nascita"},
        {"pr_nascita", "provincia_nascita"},
        {"via", "residenza_via"},
        {"comune", "residenza_comune"},
        {"cap", "residenza_cap"},
        {"pr", "residenza_provincia"},
        {"nominativo", "nominativo"},
        {"via_nominativo", "nominativo_via"},
        {"comune_nominativo", "nominativo_comune"},
        {"cap_nominativo", "nominativo_cap"},
        {"pr_nominativo", "nominativo_provincia"},
    };
    static constexpr std::string_view segni_tipo[] = {"inizio", "continuazione", "ricaduta"};
    static constexpr std::string_view segni_visita[] = {"ambulatoriale", "domiciliare"};

    auto imposta = [this](std::string_view nome, std::string_view valore) {
        lavoratore.imposta(nome, copie_certificato::testo_copia(nome, valore));
    };
    lavoratore = {};
    imposta("protocollo", protocollo);
    for (const auto& [nome, controllo] : da_form) {
        imposta(nome, testo(controllo));
    }
    for (int i = 0; i < 3; ++i) {
        imposta(segni_tipo[i], opt_tipo == i ? "X" : "");
    }
    for (int i = 0; i < 2; ++i) {
        imposta(segni_visita[i], opt_visita == i ? "X" : "");
    }
    // A copy of the test service must never pass for a certificate.
    if (modo_test) {
        lavoratore.imposta("avviso_prova",
                           "Inviato al servizio di prova INPS: copia priva di qualsiasi valore");
    }
}

bool frm_Meravo::archivia_certificato() {
    certificati.archivia_certificato(servizi_.orologio.adesso(),
                                     copie_certificato::campi_record(lavoratore));
    std::error_code ignorato;
    std::filesystem::remove(servizi_.cartella_programma / "restituzione_certificati_inps.txt",
                            ignorato);
    const auto esito = salva_archivio();
    if (!esito) {
        servizi_.messaggi.avvisa(esito.messaggio(), Icona::critico);
    }
    return esito.ok();
}

void frm_Meravo::DataReport_AsyncProgress(int pagina_completata, int pagine_totali) {
    if (pagina_completata != pagine_totali) {
        return;
    }
    switch (fase_stampa_) {
    case FaseStampa::in_stampa:
        fine_in_attesa_ = true;
        break;
    case FaseStampa::archiviato:
        termina(0);
        break;
    case FaseStampa::pronto:
        break;
    }
}

Esito frm_Meravo::salva_archivio() {
    errno = 0;
    const auto percorso = testo::percorso(file_input);
    const auto testo_file = certificati.testo_file_scambio();
    if (diritti_file_input_ ? scrivi_file_intero(percorso, testo_file, *diritti_file_input_)
                            : scrivi_file_intero(percorso, testo_file)) {
        return Esito::riuscito();
    }
    const int errore = errno;
    return Esito::fallito("Impossibile scrivere il file " + file_input + " (" +
                          (errore != 0 ? motivo(errore) : std::string("errore di scrittura")) +
                          "). I certificati non sono stati restituiti alla cartella: riprovare "
                          "oppure annotare i dati prima di chiudere.");
}

bool frm_Meravo::salva_Click() {
    if (occupato() || !salva.Enabled || data_respinta()) {
        return false;
    }
    const auto esito = salva_archivio();
    if (!esito) {
        servizi_.messaggi.avvisa(esito.messaggio(), Icona::critico);
        return false;
    }
    // A certificate sent and not archived is now in the file; one whose outcome is not known
    // stays in the journal.
    if (!esito_ignoto_) {
        diario_.rimuovi();
    }
    termina(0);
    return true;
}

void frm_Meravo::cmd_crypta_Click() {
    if (cifra_cf) {
        cifra_cf();
    }
}

void frm_Meravo::siss_Click() {
    if (!servizi_.messaggi.chiedi("Attenzione, utilizzando il portale Siss i certificati stampati "
                                  "non verranno archiviati in cartella! Continuare?")) {
        return;
    }
    std::string host(indirizzi::host_portale_siss);
    if (auto sostituto = host_di_prova(indirizzi::variabile_host_portale)) {
        host = *sostituto;
    }
    const auto indirizzo = host + std::string(indirizzi::percorso_portale);
    // With no browser to open the press would otherwise do nothing the doctor can see.
    if (!servizi_.apri_indirizzo || !servizi_.apri_indirizzo(indirizzo)) {
        servizi_.messaggi.avvisa("Impossibile aprire il browser: aprire a mano l'indirizzo " +
                                     indirizzo,
                                 Icona::esclamazione);
    }
}

} // namespace meravo
