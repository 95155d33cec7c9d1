#pragma once

#include "lookup/tabella_consultabile.h"
#include "services/esito.h"
#include "tables/valore.h"

#include "diagnosis/tabelle_icdix.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meravo {

class PompaEventi;

// The diagnosis table control: loads the ICD-IX tables (complete, by description; secondary,
// by code) and finds a diagnosis by description or by code. The tables are shared by every
// instance; tests give each instance tables of its own.
class CrittoDiretto final : public TabellaConsultabile {
public:
    explicit CrittoDiretto(PompaEventi& pompa, std::string nome = "icdix",
                           std::shared_ptr<TabelleIcdix> tabelle = TabelleIcdix::del_programma());

    Esito carica_icdix(const std::string& file, const std::string& file_secondario_completo,
                       bool ridotto = false);
    void reset_icdix();

    // Field 0 prefix, 1 code, 2 description, 3 flag of record `ind2`; empty outside the table.
    std::string dati_diretto_icdix(int ind1, int ind2) const;
    // Field 0 prefix, 1 code (texts), 2 the complete-table record (a 32-bit number).
    Valore dati_diretto_secondario_icdix(int ind1, int ind2) const;

    // One field of every record, at indexes 1..n. Only "icdix" tables exist here: a drug-table
    // caller gets nothing.
    std::optional<std::vector<std::string>>
    dati(int colonna, std::string_view chiamante = "icdix") const override;
    std::optional<std::vector<Valore>> dati_secondario(int colonna,
                                                       std::string_view chiamante = "icdix") const;
    std::optional<std::string> dati_diretto(int colonna, int riga) const override;
    std::optional<std::string> Name() const override { return nome_; }
    std::optional<std::string> NomeClasse() const override { return nome_; }

    // Record number of the description (compared as given: no upper-casing, no trimming).
    int identifica_elemento_dicotomica_icdix(std::string_view elemento) const;
    // Complete-table record stored with the code; its position in the secondary table in
    // `indice` when found.
    int identifica_elemento_dicotomica_secondario_icdix(std::string_view elemento,
                                                        int* indice = nullptr) const;

    void marca_servizio_icdix(int numero, int posizione_inserimento, std::string_view valore);
    void marca_servizio_secondario_icdix(int numero, int posizione_inserimento,
                                         std::string_view valore);

    // Adds a complete-table line to the file, keeps the file sorted by description and rewrites
    // the secondary file from it; both files keep a ".bak" copy of what they were.
    Esito aggiungi_record(std::string_view codice_icdix, std::string_view record,
                          const std::string& file, const std::string& file_secondario_completo);

    void inizializza_livelli(std::vector<int> rc_passaggio) { livelli_ = std::move(rc_passaggio); }
    const std::vector<int>& livelli() const { return livelli_; }

    const TabelleIcdix& tabelle() const { return *tabelle_; }

private:
    PompaEventi& pompa_;
    std::string nome_;
    std::shared_ptr<TabelleIcdix> tabelle_;
    std::vector<int> livelli_;
};

} // namespace meravo
