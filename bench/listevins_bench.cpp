// The wine list of the real main window (offscreen) on generated cellars of
// 10 000 and 100 000 wines: a full refill, a refill after one wine changed,
// and beside them the engine alone running the same statement over the same
// connection. Every window figure carries the process's peak resident size.

#include "cellargen.h"
#include "fenetrebench.h"

#include "card/frmsaisie.h"
#include "data/engine/query.h"
#include "data/programme.h"
#include "navigation/listevins.h"

#include <QApplication>
#include <QTreeView>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>
#include <random>

namespace {

using vinorium::programme;
using vinorium::card::TfrmSaisie;

int tailleOuverte = 0;
std::unique_ptr<TfrmSaisie> fenetreOuverte;

// The main window on a generated cellar, shown; made once per size.
TfrmSaisie& fenetre(int vins) {
    if (tailleOuverte != vins) {
        fenetreOuverte.reset();
        programme().dbBase.close();
        vinorium::reinitialiseProgramme();
        programme().dbBase.open(vinorium::bench::cachedCellar(vins));
        fenetreOuverte = std::make_unique<TfrmSaisie>();
        fenetreOuverte->show();
        fenetreOuverte->Initialise();
        QApplication::processEvents();
        tailleOuverte = vins;
    }
    return *fenetreOuverte;
}

QString instruction(TfrmSaisie& w) {
    return QStringLiteral(
               "SELECT Cptr, Type, BoireAvant, NomListe, * FROM RequeteListe AS TableSource WHERE ") +
           w.etat().ChaineSQLCourante + w.etat().OrdreListe;
}

// The list refilled under the window's selection, then painted.
void recharge(TfrmSaisie& w) {
    w.listeVins->ChargeListeVins(w.etat().ChaineSQLCourante, w.etat().OrdreListe, w.etat().AnneesABoire,
                                 w.etat().AnneesAttendre);
    w.listeVins->lstSelection->viewport()->repaint();
}

void comptePic(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["pic_Mo"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The engine alone: the list's statement opened and read to its end, the
// rows kept (as every query of the program) or forward only (as the list reads).
void requete(benchmark::State& state, bool avantSeulement) {
    TfrmSaisie& w = fenetre(static_cast<int>(state.range(0)));
    vinorium::data::Query q(&programme().dbBase);
    q.setForwardOnly(avantSeulement);
    q.setSql(instruction(w));
    long long lignes = 0;
    for (auto _ : state) {
        q.open();
        lignes = 0;
        for (; !q.eof(); q.next()) {
            ++lignes;
        }
        q.close();
    }
    state.counters["lignes"] = static_cast<double>(lignes);
}

void ListeVins_Requete(benchmark::State& state) {
    requete(state, false);
}

void ListeVins_RequeteAvant(benchmark::State& state) {
    requete(state, true);
}

void ListeVins_Remplissage(benchmark::State& state) {
    TfrmSaisie& w = fenetre(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        w.listeVins->modele->remplace({});
        state.ResumeTiming();
        recharge(w);
    }
    state.counters["lignes"] = w.listeVins->NombreLignes();
    comptePic(state);
}

// One wine changed at random between two measures, as a save would (untimed).
struct Modification {
    int vins;
    std::mt19937 hasard;
    int numero = 0;

    int suivante() {
        const int cle = 1 + static_cast<int>(hasard() % static_cast<unsigned>(vins));
        programme().dbBase.execute(
            QStringLiteral("UPDATE Vins SET Cuvee = 'Cuvée %1' WHERE Cptr = %2").arg(++numero).arg(cle));
        return cle;
    }
};

void ListeVins_ApresModification(benchmark::State& state) {
    const int vins = static_cast<int>(state.range(0));
    TfrmSaisie& w = fenetre(vins);
    recharge(w);
    Modification modification{vins, std::mt19937(7)};
    for (auto _ : state) {
        state.PauseTiming();
        modification.suivante();
        state.ResumeTiming();
        recharge(w);
    }
    state.counters["lignes"] = w.listeVins->NombreLignes();
    comptePic(state);
}

// For comparison, the window's whole refresh after a save: the card's value
// lists, the display query reopened on every wine, then the list refill.
void Fenetre_ApresSauvegarde(benchmark::State& state) {
    const int vins = static_cast<int>(state.range(0));
    TfrmSaisie& w = fenetre(vins);
    Modification modification{vins, std::mt19937(5)};
    for (auto _ : state) {
        state.PauseTiming();
        const int cle = modification.suivante();
        state.ResumeTiming();
        w.RouvreAffichage(QString::number(cle));
        w.MajApresModif();
        w.listeVins->lstSelection->viewport()->repaint();
    }
    comptePic(state);
}

}  // namespace

void vinorium::bench::fermeFenetre() {
    fenetreOuverte.reset();
    tailleOuverte = 0;
    programme().dbBase.close();
}

namespace {

#define VINORIUM_TAILLES Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(ListeVins_Requete)->VINORIUM_TAILLES;
BENCHMARK(ListeVins_RequeteAvant)->VINORIUM_TAILLES;
BENCHMARK(ListeVins_Remplissage)->VINORIUM_TAILLES;
BENCHMARK(ListeVins_ApresModification)->VINORIUM_TAILLES;
BENCHMARK(Fenetre_ApresSauvegarde)->VINORIUM_TAILLES;

}  // namespace
