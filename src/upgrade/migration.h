#pragma once

// The two migration steps of a cellar file, run on an open connection: step 20
// turns a layout-11 file into layout 20, step 30 turns layout 20 into layout
// 30. Each step is a fixed sequence of structure changes, data statements,
// stored-query rewrites and a rewrite of the saved searches. Nothing here
// catches an engine error: the first failing statement ends the step with its
// EngineError, and the caller restores its backup of the file.

#include "data/engine/database.h"
#include "data/engine/query.h"

#include <QString>

#include <functional>

namespace vinorium::upgrade {

class Migration {
  public:
    // Receives every progress line (AjouteInfo).
    using Journal = std::function<void(const QString& ligne)>;
    // Called with DerniereInstruction right before each statement or
    // structure change is sent to the engine; it may throw to stop the step
    // there, as a failing statement would.
    using AvantInstruction = std::function<void(const QString& instruction)>;

    Migration(data::Database& base, Journal journal);
    Migration(const Migration&) = delete;
    Migration& operator=(const Migration&) = delete;

    void setAvantInstruction(AvantInstruction avant) { avant_ = std::move(avant); }

    // The text of the last statement sent to the engine, for the log of a
    // failed run.
    const QString& derniereInstruction() const { return DerniereInstruction; }

    void Etape20();
    void Etape30();

    // Primitives; each stores what it sends in DerniereInstruction first.
    void ExecuteDB(const QString& sql);
    void AjouteChamp(const QString& table, const QString& champ, const QString& type);
    void EffaceChamp(const QString& table, const QString& champ);
    // Widens a text column to n characters, keeping its data; the column moves
    // to the end of the table.
    void AgranditChamp(const QString& table, const QString& champ, int n);
    void RenommeChamp(const QString& table, const QString& ancien, const QString& nouveau);
    void MajRequete(const QString& nom, const QString& sql);
    void AjouteRequete(const QString& nom, const QString& sql);
    void OuvreRequeteMaj(data::Query& requete, const QString& sql);
    void ExecuteRequeteMaj(data::Query& requete, const QString& sql);
    void AjouteInfo(const QString& texte);

    // Stored-query texts that step 20 writes (step 30 replaces them again).
    static QString texteRequeteVersion20(const QString& nom);

  private:
    void instruction(const QString& texte);
    void deplaceEntrees();
    struct SelectionSauvee {
        QString nom;
        QString chaineSql;
        QString chaineCriteres;
    };
    void recritSelectionsVersion20();
    void convertitCriteres();
    // Rewrites every saved search: reecrit gives its new texts, ecrit writes
    // them back by name.
    void recritSelections(const std::function<SelectionSauvee(const SelectionSauvee&)>& reecrit,
                          const std::function<void(const SelectionSauvee&)>& ecrit);
    int nombreDeSelections(const QString& nom);
    void ajouteIndex();

    data::Database& MaBase;
    data::Query MonQuery;
    data::Query MonQuery2;
    Journal journal_;
    AvantInstruction avant_;
    QString DerniereInstruction;
};

}  // namespace vinorium::upgrade
