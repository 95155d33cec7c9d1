#include "lookup/trova.h"

#include <array>

namespace meravo {

namespace {

// The diagnosis tables are the ones whose container follows every key the user types.
constexpr std::array<std::string_view, 3> nomi_diagnosi = {"icdix", "icdix_bpco",
                                                           "icdix_procedure"};

} // namespace

trova::trova(PompaEventi& pompa, Segnale& segnale, Messaggi& messaggi, ProprietaTrova proprieta)
    : pompa_(pompa), segnale_(segnale), messaggi_(messaggi), proprieta_(std::move(proprieta)),
      valori_colonna_(std::make_shared<const std::vector<std::string>>(1)),
      lista_trovati_(valori_colonna_), sfondo_legenda_(proprieta_.BackColorLegenda),
      testo_legenda_(proprieta_.ForeColorLegenda) {
    // A saved text comes back both as the box's text and as the candidate's.
    Text_ = proprieta_.Text;
    testo_ = proprieta_.Text;
    lista_.Text(proprieta_.lista_testo);
}

std::int32_t trova::ritorna_quanti_trovati() const {
    return static_cast<std::int32_t>(lista_trovati_->size()) - 1;
}

std::string trova::ritorna_nome_oggetto() const {
    return oggetto_ ? oggetto_->NomeClasse().value_or(std::string{}) : std::string{};
}

bool trova::tabella_di_diagnosi() const {
    if (!oggetto_) {
        return false;
    }
    const auto nome = oggetto_->Name();
    if (!nome) {
        return false;
    }
    for (auto n : nomi_diagnosi) {
        if (*nome == n) {
            return true;
        }
    }
    return false;
}

void trova::annuncia_testo(std::string testo) {
    if (eventi_.testo_digitato && tabella_di_diagnosi()) {
        eventi_.testo_digitato(testo);
    }
}

void trova::notifica(const std::function<void()>& evento) {
    if (evento) {
        evento();
    }
}

void trova::Text(std::string valore) {
    Text_ = std::move(valore);
    proprieta_modificate_ = true;
}

void trova::InputMinMaiuscIndifferente(bool valore) {
    proprieta_.InputMinMaiuscIndifferente = valore;
    proprieta_modificate_ = true;
}

void trova::Enabled(bool valore) {
    proprieta_.Enabled = valore;
    proprieta_modificate_ = true;
}

void trova::gestione_enter_esterna(bool valore) {
    proprieta_.gestione_enter_esterna = valore;
    proprieta_modificate_ = true;
}

void trova::lista_testo(std::string valore) {
    lista_.Text(std::move(valore));
    proprieta_modificate_ = true;
}

ProprietaTrova trova::proprieta() const {
    auto p = proprieta_;
    p.Text = Text_;
    p.lista_testo = lista_.Text();
    p.BackColorLegenda = sfondo_legenda_;
    p.ForeColorLegenda = testo_legenda_;
    return p;
}

} // namespace meravo
