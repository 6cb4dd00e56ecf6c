#include "stability/autocomp.h"

#include "values/engvalues.h"

namespace stab {

BodeResult runLoop(LoopKind kind, const BodeInput &in, const amp &part)
{
    switch (kind) {
    case LoopKind::Capacitive:
        return capacitiveLoadBode(in, part);
    case LoopKind::Inductive:
        return inductiveLoadBode(in, part);
    case LoopKind::CompositeCapacitive:
        return compositeCapacitiveBode(in, part);
    case LoopKind::CompositeInductive:
        break;
    }
    return compositeInductiveBode(in, part);
}

Margins evaluateLoop(LoopKind kind, const BodeInput &in, const amp &part)
{
    BodeInput quiet = in;
    quiet.report = false;
    const BodeResult r = runLoop(kind, quiet, part);
    return {r.phaseMargin, r.maxBandwidth};
}

double targetPhaseMargin(int sliderValue)
{
    return 75 - 10 * sliderValue;
}

bool acceptsCandidate(const Margins &c, double target, const Margins &best)
{
    return c.phaseMargin > target &&
           (c.bandwidth > best.bandwidth ||
            (c.bandwidth == best.bandwidth && c.phaseMargin > best.phaseMargin));
}

namespace {

// One pass of a search: the candidate under test and the best found so far.
class Search
{
public:
    Search(LoopKind kind, const BodeInput &start, int options, double target,
           const LoopEvaluator &evaluate)
        : kind_(kind), candidate_(start), options_(options), target_(target), evaluate_(evaluate)
    {
    }

    CircuitValues &values() { return candidate_.values; }
    bool single() const { return kind_ == LoopKind::Capacitive || kind_ == LoopKind::Inductive; }

    // Stored as the user would see it: three digits and a prefix, read back by the model.
    static void set(QString &member, double value) { member = eng::engString(value, QString()); }

    // The start values are the first best set; their margin is the bar for a 0 Hz candidate.
    void begin()
    {
        if (single()) candidate_.compOption = 0;
        bestValues_ = candidate_.values;
        bestOption_ = candidate_.compOption;
        best_ = {run().phaseMargin, 0};
        if (single()) tryCandidate();
    }

    // Every value set is tried with every compensation option of a single amplifier.
    void tryCandidate()
    {
        if (!single()) {
            judge();
            return;
        }
        for (int i = 0; i < options_; ++i) {
            candidate_.compOption = i;
            judge();
        }
    }

    AutoCompResult result() const
    {
        AutoCompResult r;
        r.values = bestValues_;
        r.compOption = bestOption_;
        r.best = best_;
        r.accepted = accepted_;
        r.modelRuns = runs_;
        return r;
    }

private:
    Margins run()
    {
        ++runs_;
        return evaluate_(candidate_);
    }

    void judge()
    {
        const Margins m = run();
        if (!acceptsCandidate(m, target_, best_)) return;
        bestValues_ = candidate_.values;
        bestOption_ = candidate_.compOption;
        best_ = m;
        accepted_ = true;
    }

    LoopKind kind_;
    BodeInput candidate_;
    int options_;
    double target_;
    const LoopEvaluator &evaluate_;
    CircuitValues bestValues_;
    int bestOption_ = 0;
    Margins best_;
    bool accepted_ = false;
    int runs_ = 0;
};

// A geometric sweep: `steps` values from `from`, each `factor` times the one before.
template <class Step> void sweep(double from, double factor, int steps, Step step)
{
    double value = from;
    for (int k = 0; k < steps; ++k) {
        step(value);
        value *= factor;
    }
}

void searchCapacitive(Search &s, bool inverting, double zout)
{
    CircuitValues &v = s.values();
    sweep(3e-12, 1.1, 86, [&](double c) {
        Search::set(v.CfbC, c);
        s.tryCandidate();
    });
    if (inverting) {
        Search::set(v.CfbC, 0);
        sweep(10, 1.3, 18, [&](double rng) {
            Search::set(v.RngC, rng);
            sweep(1e-9, 1.5, 18, [&](double cng) {
                Search::set(v.CngC, cng);
                s.tryCandidate();
            });
        });
        sweep(3e-12, 2, 12, [&](double cfb) {
            Search::set(v.CfbC, cfb);
            sweep(10, 1.5, 12, [&](double rng) {
                Search::set(v.RngC, rng);
                sweep(1e-9, 2, 10, [&](double cng) {
                    Search::set(v.CngC, cng);
                    s.tryCandidate();
                });
            });
        });
    }
    // R_ISO alone, with the feedback compensation taken out again.
    Search::set(v.CfbC, 0);
    Search::set(v.CngC, 0);
    Search::set(v.RngC, 0);
    for (double riso = zout / 100; riso < zout; riso *= 1.1) {
        Search::set(v.RisoC, riso);
        s.tryCandidate();
    }
}

void searchInductive(Search &s)
{
    CircuitValues &v = s.values();
    sweep(100, 1.3, 27, [&](double rd) {
        Search::set(v.RdL, rd);
        sweep(1e-9, 1.3, 27, [&](double cfb) {
            Search::set(v.CfbL, cfb);
            s.tryCandidate();
        });
    });
}

void searchComposite(Search &s, bool inverting)
{
    CircuitValues &v = s.values();
    sweep(3e-12, 1.1, 86, [&](double c) {
        Search::set(v.compCfb, c);
        s.tryCandidate();
    });
    if (!inverting) return;
    Search::set(v.compCfb, 0);
    sweep(10, 1.3, 18, [&](double rng) {
        Search::set(v.hostRng, rng);
        sweep(1e-9, 1.5, 18, [&](double cng) {
            Search::set(v.hostCng, cng);
            s.tryCandidate();
        });
    });
    sweep(3e-12, 2, 12, [&](double cfb) {
        Search::set(v.compCfb, cfb);
        sweep(10, 1.5, 12, [&](double rng) {
            Search::set(v.hostRng, rng);
            sweep(1e-9, 1.5, 18, [&](double cng) {
                Search::set(v.hostCng, cng);
                s.tryCandidate();
            });
        });
    });
}

void searchCompositeInductive(Search &s)
{
    CircuitValues &v = s.values();
    sweep(3e-12, 1.1, 86, [&](double c) {
        Search::set(v.compCfb, c);
        s.tryCandidate();
    });
}

// The start texts: no compensation at all.
void writeStartTexts(LoopKind kind, CircuitValues &v)
{
    const QString open = QStringLiteral("open"), shortText = QStringLiteral("short");
    switch (kind) {
    case LoopKind::Capacitive:
        v.CngC = open;
        v.RngC = shortText;
        v.CfbC = open;
        v.RisoC = shortText;
        break;
    case LoopKind::Inductive:
        v.RdL = shortText;
        v.CfbL = open;
        break;
    case LoopKind::CompositeCapacitive:
    case LoopKind::CompositeInductive:
        v.hostCng = open;
        v.hostRng = shortText;
        v.compCfb = open;
        break;
    }
}

} // namespace

AutoCompResult autoCompensate(LoopKind kind, const BodeInput &start, const amp &part,
                              int sliderValue, const LoopEvaluator &evaluate)
{
    const LoopEvaluator model =
        evaluate ? evaluate : LoopEvaluator([kind, &part](const BodeInput &in) {
            return evaluateLoop(kind, in, part);
        });
    const int options = part.getSROptions();
    const double zout = part.getZout();

    int slider = sliderValue;
    int modelRuns = 0;
    for (int pass = 1;; ++pass) {
        const double target = targetPhaseMargin(slider);
        BodeInput first = start;
        writeStartTexts(kind, first.values);
        Search s(kind, first, options, target, model);
        s.begin();
        switch (kind) {
        case LoopKind::Capacitive:
            searchCapacitive(s, start.inverting, zout);
            break;
        case LoopKind::Inductive:
            searchInductive(s);
            break;
        case LoopKind::CompositeCapacitive:
            searchComposite(s, start.inverting);
            break;
        case LoopKind::CompositeInductive:
            searchCompositeInductive(s);
            break;
        }
        AutoCompResult r = s.result();
        modelRuns += r.modelRuns;
        // A missed target gives up some margin for the next run, until the slider's end.
        if (r.best.phaseMargin < target && slider <= 3) {
            ++slider;
            continue;
        }
        r.sliderValue = slider;
        r.modelRuns = modelRuns;
        r.searchRuns = pass;
        return r;
    }
}

} // namespace stab
