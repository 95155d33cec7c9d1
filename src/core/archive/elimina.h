#pragma once

#include "form/campi_form.h"
#include "lookup/tasto.h"
#include "report/dati_report.h"
#include "services/esito.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace meravo {

class frm_Meravo;

// The archive browser without its window: the list of the patient's archived certificates, each
// by its date of issue, protocol, period and diagnosis code, the two-copy report of the chosen
// one, its cancellation. While
// it is open the rest of the form is disabled. It reads the form's archive and keeps no copy.
class Elimina {
public:
    explicit Elimina(frm_Meravo& form);
    Elimina(const Elimina&) = delete;
    Elimina& operator=(const Elimina&) = delete;

    // Where the form places the browser, in twips from the form's top left corner: across most
    // of the form, so that an entry reads whole.
    static constexpr int Left = 600;
    static constexpr int Top = 2000;
    static constexpr int Width = 9000;
    static constexpr int Height = 4785;
    static constexpr std::string_view etichetta =
        "Selezionare un certificato INPS in archivio per visualizzarlo oppure cancellarlo";
    static constexpr std::string_view carattere = "Verdana";

    // --- The form's side ---
    // "Archivio": disables the form, lists the archive and shows the browser.
    void archivio_Click();
    // False while the browser keeps the form's option buttons disabled (the form model has no
    // state of its own for them).
    bool opzioni_abilitate() const { return opzioni_abilitate_; }

    // --- The browser ---
    bool Visible() const { return Visible_; }
    // One entry per archived certificate, in archive order: "05/01/2024  prot. 123  dal
    // 05/01/2024 al 08/01/2024  diagn. 487.1" (what the record lacks is left out; a record with
    // none of them shows when it was archived).
    const std::vector<std::string>& list1() const { return list1_; }
    // The selected entry of `list1`, -1 for none.
    int ListIndex() const { return ListIndex_; }
    Pulsante visualizza, elimina, chiudi;

    // Empties the list and fills it again from the archive.
    void carica_inps();
    // The user selects an entry (-1, or any index outside the list, clears the selection): both
    // copies of the report are prepared from its record.
    void list1_Click(int indice);
    // Down, Up, Home and End choose an entry as a click does, also when none is chosen yet.
    void list1_KeyDown(Tasto tasto);
    void visualizza_Click();
    void elimina_Click();
    // Hides the browser, enables the form again and raises `chiusura`.
    void chiudi_Click();

    // Both copies of the report as the last selection left them: the worker's fields under the
    // record's field names, the employer's under the same names ending in "2".
    const DatiReport& storico() const { return storico_; }

    // --- Events and roads, set by the container ---
    // The browser has closed and the form is enabled again.
    std::function<void()> chiusura;
    // The browser's buttons changed inside a handler: the window shows them before it goes on.
    std::function<void()> stato_cambiato;
    // "Visualizza": show the two-copy report in its preview, not modal.
    std::function<void(const DatiReport&)> mostra_storico;
    // Cancellation at the service of the certificate under that key, on each road: only
    // `riuscito` lets the record be removed locally (each road has shown its own message
    // otherwise).
    std::function<EsitoInvio(const std::string& chiave)> annulla_certificato_inps;
    std::function<EsitoInvio(const std::string& chiave)> annulla_certificato_siss;

private:
    void abilita_form(bool abilitato);
    void abilita_pulsanti(bool abilitati);
    EsitoInvio annulla(const std::string& chiave);
    // "protocollo 123 di Bianchi Giulia,\r\nmalattia dal 05/01/2024 al 08/01/2024".
    std::string descrizione(const std::string& chiave) const;

    frm_Meravo& form_;
    bool Visible_ = false;
    std::vector<std::string> list1_;
    std::vector<std::string> chiavi_; // the archive key of each entry of `list1_`
    int ListIndex_ = -1;
    DatiReport storico_;
    bool opzioni_abilitate_ = true;
};

} // namespace meravo
