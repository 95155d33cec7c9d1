#pragma once

#include "diagnosis/critto_diretto.h"
#include "exchange/archivio_certificati.h"
#include "exchange/blocco_istanza.h"
#include "exchange/mappa_ordinata.h"
#include "form/campi_form.h"
#include "form/diario_invio.h"
#include "lookup/trova.h"
#include "report/dati_report.h"
#include "services/esito.h"
#include "tables/cls_critto.h"
#include "tables/file_interi.h"
#include "textbox/txtctl.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meravo {

class Messaggi;
class Orologio;
class PompaEventi;
class Segnale;

// What the form gets from the platform.
struct ServiziForm {
    ServiziForm(Messaggi& m, Orologio& o, PompaEventi& p, Segnale& s,
                std::filesystem::path programma)
        : messaggi(m), orologio(o), pompa(p), segnale(s), cartella_programma(std::move(programma)) {
    }

    Messaggi& messaggi;
    Orologio& orologio;
    PompaEventi& pompa;
    Segnale& segnale;
    std::filesystem::path cartella_programma;
    // The user's temporary folder, where the external tools' work files may go.
    std::filesystem::path cartella_temporanea = temporanea_di_sistema();
    // The locale's decimal separator, for the number boxes.
    char separatore_decimale = ',';
    // Opens a web address in the user's default browser, without waiting for it; false when no
    // browser could be started.
    std::function<bool(const std::string&)> apri_indirizzo;
    std::function<std::optional<std::string>(std::string_view)> ambiente = variabile_ambiente;
    // Starts a command line in a minimised window and does not wait for it.
    std::function<void(const std::string&)> avvia_senza_attendere;
    // The diagnosis tables, shared by the whole program.
    std::shared_ptr<TabelleIcdix> tabelle_icdix = TabelleIcdix::del_programma();

    static std::optional<std::string> variabile_ambiente(std::string_view nome);
    static std::filesystem::path temporanea_di_sistema();
};

// The certificate form without its window: every module-wide value, every field as text with
// its enabled, visible and colour state, the start-up, the mandatory rule and the buttons. The
// window mirrors these members and calls the handlers; it holds no rule of its own.
class frm_Meravo {
public:
    explicit frm_Meravo(ServiziForm servizi);
    frm_Meravo(const frm_Meravo&) = delete;
    frm_Meravo& operator=(const frm_Meravo&) = delete;

    // Start-up on the command line's text. False when the module must end at once (the
    // message has been shown; `codice_uscita` says with which code).
    bool avvia(std::string_view riga_comando);

    // The module has ended (after Salva/Esci, or a start-up that could not go on).
    bool terminato() const { return terminato_; }
    int codice_uscita() const { return codice_uscita_; }
    // Raised once when the module ends; the window closes on it.
    std::function<void(int codice)> fine_programma;

    // --- Buttons ---
    // "Stampa/Esci": the mandatory rule, then the send-and-print sequence.
    void Stampa_Click();
    // "Salva/Esci": writes the exchange file and ends; on a failed write the doctor is told why
    // and the form stays open.
    bool salva_Click();
    // "Utilizza portale Siss".
    void siss_Click();
    // The window's close box: whether it may close. Never while a run holds the form; when the
    // doctor has typed or changed something and the certificate has not reached the archive,
    // only once he has said so.
    bool chiusura_richiesta();
    // The hidden "Crypta" button: encrypts "CF.txt" of the Sogei folder into "CF.enc", without
    // waiting (a support tool; nothing in the module reads the result), through the national
    // road's tool that `cifra_cf` connects.
    void cmd_crypta_Click();
    std::function<void()> cifra_cf;
    // The send step of "Stampa/Esci" on each road, once the mandatory rule has passed: what the
    // service now holds (each road has shown its own message unless the certificate went out).
    // A road that is not connected tells the doctor so.
    std::function<EsitoInvio()> invio_nazionale;
    std::function<EsitoInvio()> invio_regionale;
    // Shows the worker copy in its preview window, not modal.
    std::function<void(const DatiReport&)> mostra_lavoratore;
    // "Ristampa copia": shows the worker copy of the certificate just sent again, so that closing
    // its preview never leaves a form that can do nothing. Shown once a send has succeeded.
    void ristampa_Click();

    // Shows the worker copy, filled and archived before, and lets pending events run once.
    void stampa_certificato();
    // The report runtime's progress of a job of the worker copy. Its last page ends the
    // module, but never before the exchange file holds the certificate just sent: a signal
    // that comes before the archive is written waits for it.
    void DataReport_AsyncProgress(int pagina_completata, int pagine_totali);

    // The mandatory-field rule: every control the form's table marks mandatory (painted pink)
    // holds more than blanks, the diagnosis by its code or in words; otherwise the message
    // names the missing ones by their labels. The caller re-enables the buttons.
    bool campi_obbligatori_compilati();
    // The end of the prognosis is not before its start; otherwise the doctor is told, before
    // any round trip to the service.
    bool date_in_ordine();
    // A date box refused its text when the focus left it, and the text is still the same: the
    // press that moved the focus does nothing (the box has said why and takes the focus back).
    bool data_respinta() const;
    // The diagnosis chosen in `trova1` becomes `cod_icdix`.
    void selezione_confermata();
    // Writes the archive into the exchange file, whole or not at all.
    Esito salva_archivio();

    // --- A run in progress ---
    // A send, a cancellation or a write holds the form from its first step to its last. The
    // window shows `attivita` with the wait cursor and takes no input meanwhile; a press that
    // arrives during the run (the run lets window events through while it waits) finds the
    // form busy and starts nothing.
    class Lavoro {
    public:
        // Shows the run and lets the pending window events run once, so that the doctor sees it
        // and clicks queued before it find the form busy.
        Lavoro(frm_Meravo& form, std::string attivita);
        // Lets the events queued during the run through once more, still busy, then frees the
        // form.
        ~Lavoro();
        Lavoro(const Lavoro&) = delete;
        Lavoro& operator=(const Lavoro&) = delete;

    private:
        frm_Meravo& form_;
    };
    bool occupato() const { return !attivita_.empty(); }
    const std::string& attivita() const { return attivita_; }
    // Raised when the buttons or the run change inside a handler, so that the window shows the
    // new state before the handler goes on.
    std::function<void()> stato_cambiato;

    // --- Fields by name, as the window and the rules reach them ---
    Campo* campo(std::string_view nome);
    Txtctl* data(std::string_view nome);
    // The text of any text box or date box; empty for an unknown name.
    std::string testo(std::string_view nome) const;
    void imposta_testo(std::string_view nome, std::string_view valore);

    // --- Module-wide values ---
    std::string file_input;
    std::string direttorio_tabelle;
    bool usa_siss = false;
    bool modo_test = false;
    std::string endpoint_invio;
    std::string endpoint_annullamento;
    ArchivioCertificati certificati;
    MappaOrdinata stati_esteri;
    std::string protocollo;
    // The form's status line after a send: empty until a certificate has gone out, then which
    // one ("Certificato inviato: protocollo N").
    std::string conferma_invio;
    // The data fields of the worker copy, as last filled by `stampa_certificato`.
    DatiReport lavoratore;

    // --- Controls ---
    Campo nome_medico, cod_reg_medico, asl_medico, utente, password, cf_medico;
    Campo cognome, nome, txt_cf, comune_nascita, provincia_nascita, sesso;
    Campo residenza_via, residenza_cap, residenza_comune, residenza_provincia;
    Campo cod_icdix, note_diagnosi;
    Campo nominativo, nominativo_via, nominativo_cap, nominativo_comune, nominativo_provincia;
    Txtctl dt_nascita, dt_rilascio, dt_inizio, dt_fine;
    int opt_tipo = 0;   // 0 Inizio, 1 Continuazione, 2 Ricaduta
    int opt_visita = 0; // 0 Ambulatoriale, 1 Domiciliare
    Pulsante Stampa, salva, archivio, siss, cmd_crypta;
    Pulsante ristampa{false, false};

    CrittoDiretto icdix;
    Cls_Critto tabella_comuni;
    trova trova1;

    const ServiziForm& servizi() const { return servizi_; }

private:
    void leggi_input();
    void leggi_stati_esteri();
    void scegli_indirizzi();
    // The host an environment variable puts in place of a service's, when it may.
    std::optional<std::string> host_di_prova(std::string_view variabile) const;
    // Table start-up: false when a table could not be loaded (the module then ends).
    bool carica_tabelle();
    void prepara_ricerca_diagnosi();
    void completa_provincia_nascita();
    void termina(int codice);
    void abilita_pulsanti(bool abilitati);
    void segnala_stato();
    // Everything the doctor can change on the form, to tell whether he has changed anything.
    std::vector<std::string> istantanea() const;
    // Fills the worker copy from the form, as the service has it after the send.
    void compila_lavoratore();
    // Archives the certificate of the worker copy and writes the exchange file.
    bool archivia_certificato();
    // After a send whose outcome is not known, whether the doctor wants to send again.
    bool conferma_nuovo_invio();
    // The journal's entry for the send that starts now.
    VoceDiario voce_diario(bool esito_ignoto) const;
    // Tells the doctor of the sends that a module ended during, and removes what they left.
    void riprendi_invii_interrotti();

    enum class FaseStampa { pronto, in_stampa, archiviato };
    FaseStampa fase_stampa_ = FaseStampa::pronto;
    bool fine_in_attesa_ = false;

    ServiziForm servizi_;
    BloccoIstanza blocco_istanza_; // held from start-up to the end of the module
    // The exchange file's access rights as the caller gave them, read before start-up deletes
    // it, for the file written back.
    std::optional<DirittiFile> diritti_file_input_;
    DiarioInvio diario_;
    // A send of this certificate ended without its outcome reaching the module.
    bool esito_ignoto_ = false;
    std::string attivita_;
    std::vector<std::string> stato_iniziale_; // the form as start-up left it
    bool terminato_ = false;
    int codice_uscita_ = 0;
};

// Appends one text column of `larghezza` characters named `nome` to a table layout.
void aggiungi_campo(std::vector<DescrizioneColonna>& layout, int larghezza, std::string nome);

// The diagnosis code shown on the form for a code cell of the diagnosis table.
std::string codice_da_cella(std::string_view cella);

} // namespace meravo
