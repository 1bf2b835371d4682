// Every refusal of the decompositions, solvers and inverses: the message and
// the module it names, each from a child process.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "matrika/chr.h"
#include "matrika/elipsoidpog.h"
#include "matrika/inv.h"
#include "matrika/invtrid.h"
#include "matrika/lur.h"
#include "matrika/qrr.h"
#include "matrika/svdr.h"
#include "razcepPomoc.h"

using namespace razceptest;

namespace {
struct Primer {
    std::function<void()> koda;
    std::string sporocilo;
    std::string vir;
};

M Kv() { return Iz({{4, 1}, {1, 3}}); }
M Pravok() { return Nakljucna(4, 2, 1); }
M Vek(unsigned long n) { return M(n, 1, 1.0L); }
}  // namespace

TEST(RazcepNapake, MessagesOfEveryCheck)
{
    const std::string ch = "matrika/chr", lu = "matrika/lur", qr = "matrika/qrr", sv = "matrika/svdr";
    const std::string hs = "Funkcija:   qrr::qr - housholdnerjeva zrcaljenja\n";
    const std::string gs = "Funkcija:   qrr::qr - modificirani gram-schmidt\n";
    const std::string gv = "Funkcija:   qrr::qr - givensove rotacije\n";
    const std::vector<Primer> primeri = {
        {[] { chr<long double>().razcep(M()); }, "Funkcija:   chr::razcep\nDimenzija matrike ni definirana: ", ch},
        {[] { chr<long double>().razcep(Pravok()); }, "Funkcija:   chr::razcep\nMatrika mora biti kvadratna: ", ch},
        {[] { chr<long double>().resi(M()); }, "Funkcija:   chr::resi\nDimenzija vektorja/matrike ni definirana: ", ch},
        {[] { chr<long double>().resiv(Vek(2)); }, "Funkcija:   chr::resi\nDimenzija matrike L ni definirana: ", ch},
        {[] { chr<long double> c; c.razcep(Kv()); c.resiv(M()); },
         "Funkcija:   chr::resi\nDimenzija vektorja f ni definirana: ", ch},
        {[] { chr<long double> c; c.razcep(Kv()); c.resiv(Kv()); },
         "Funkcija:   chr::resi\nVektorja f mora biti vektor ne matrika: ", ch},
        {[] { chr<long double> c; c.razcep(Kv()); c.resiv(Vek(3)); },
         "Funkcija:   chr::resi\nMatrika L in vektor morata imeti enako stevilo vrstic: ", ch},
        {[] { chr<long double> c; c.razcep(Kv()); c.resi(M(3, 2, 1.0L)); },
         "Funkcija:   chr::resi\nMatrika L in vektor morata imeti enako stevilo vrstic: ", ch},
        {[] { chr<long double>().inv(); }, "Funkcija:   chr::inv\nDimenzija matrike ni definirana - Izvedi razcep prvo: ", ch},
        {[] { chr<long double> c; c.razcep(Iz({{0}})); c.inv(); }, "Funkcija:   chr::inv\nMatrika je singularna: ", ch},
        {[] { lur<long double>().razcep(M()); }, "Funkcija:   lur::razcep\nDimenzija matrike ni definirana: ", lu},
        {[] { lur<long double>().razcep(Pravok()); }, "Funkcija:   lur::razcep\nMatrika mora biti kvadratna: ", lu},
        {[] { lur<long double>().resi(M()); }, "Funkcija:   lur::resi\nDimenzija vektorja/matrike f ni definirana: ", lu},
        // P f is formed first, so an undecomposed LU fails in the product.
        {[] { lur<long double>().resiv(Vek(2)); }, "Operator:   *\nDimenziji matrik napacni: ", "matrika/matrika"},
        {[] { lur<long double> l; l.razcep(Kv()); l.resiv(Vek(3)); }, "Operator:   *\nDimenziji matrik napacni: ",
         "matrika/matrika"},
        {[] { lur<long double>().inv(); }, "Funkcija:   lur::inv\nDimenzija matrike ni definirana - Izvedi razcep prvo: ", lu},
        {[] { lur<long double> l; l.razcep(Iz({{1, 2}, {2, 4}})); l.inv(); },
         "Funkcija:   invgj() - Gauss Jacobi\nMatrika je singularna: 0 * 10^-15 (3) [  1]", lu},
        {[] { qrr<long double>().qrhous(M(), Vek(1)); }, hs + "Dimenzija matrike ni definirana: ", qr},
        {[] { qrr<long double>().qrhous(M(2, 3, 1.0L), Vek(2)); },
         "Funkcija: qrr::qr - housholdnerjeva zrcaljenja\nMatrika mora opisovati dolocen ali predolocen sistem: ", qr},
        {[] { qrr<long double>().qrhous(Pravok(), Vek(3)); }, hs + "Matrika in vektor morata imeti enako stevilo vrstic: ", qr},
        {[] { qrr<long double>().qrmgs(M(), Vek(1)); }, gs + "Dimenzija matrike ni definirana: ", qr},
        {[] { qrr<long double>().qrmgs(Kv(), Vek(2)); },
         "Funkcija: qrr::qr - modificirani gram-schmidt\nMatrika mora opisovati predolocen sistem: ", qr},
        {[] { qrr<long double>().qrmgs(Pravok(), Vek(3)); }, gs + "Matrika in vektor morata imeti enako stevilo vrstic: ", qr},
        {[] { qrr<long double>().qrgiv(M(), Vek(1)); }, gv + "Dimenzija matrike ni definirana: ", qr},
        {[] { qrr<long double>().qrgiv(M(2, 3, 1.0L), Vek(2)); }, gv + "Matrika mora opisovati dolocen ali predolocen sistem: ", qr},
        {[] { qrr<long double>().qrgiv(Pravok(), M()); }, gv + "Matrika in vektor morata imeti enako stevilo vrstic: ", qr},
        {[] { qrr<long double>().inv(); }, "Funkcija:   qrr::inv\nDimenzija matrike ni definirana - Izvedi razcep prvo: ", qr},
        {[] { svdr<long double>().razcep(M()); }, "Funkcija:   svdr::razcep\nDimenzija matrike ni definirana: ", sv},
        {[] { svdr<long double>().razcep(M(0, 3)); }, "Funkcija:   svdr::razcep\nDimenzija matrike ni definirana: ", sv},
        {[] { svdr<long double>().resi(Vek(2), 1e-12L); },
         "Funkcija:   svdr::resi\nDimenzija matrik U,S,V ni definirana - Izvedi razcep prvo: ", sv},
        {[] { svdr<long double> s; s.razcep(Pravok()); s.resi(M(), 1e-12L); },
         "Funkcija:   svdr::resi\nDimenzija vektorja f ni definirana: ", sv},
        {[] { svdr<long double> s; s.razcep(Pravok()); s.resi(Vek(3), 1e-12L); },
         "Funkcija:   svdr::resi\nVektor f mora imeti enako stevilo vrstic kot matrika A (U): ", sv},
        {[] { svdr<long double>().pinvAtA(1e-12L); },
         "Funkcija:   svdr::pinvAtA\nDimenzija matrik U,S,V ni definirana - Izvedi razcep prvo: ", sv},
        {[] { inv(Pravok()); }, "Funkcija:   invgj() - Gauss Jacobi\nMatrika mora biti kvadratna: ", "matrika/inv"},
        {[] { inv(M()); }, "Funkcija:   invgj() - Gauss Jacobi\nDimenzija matrike ni definirana: ", "matrika/inv"},
        {[] { invtridV(M(3, 2, 1.0L)); }, "Funkcija:   invtridV() - Gauss-Jordan\nMatrika mora imeti 3 stolpce: ",
         "matrika/invtrid"},
        {[] { invtridV(M(0, 3)); }, "Funkcija:   invtridV() - Gauss-Jordan\nDimenzija matrike ni definirana: ",
         "matrika/invtrid"},
        {[] { invtridV(Iz({{0, 1, 1}, {1, 1, 0}})); },
         "Funkcija:   invtridV() - Gauss-Jordan\nMatrika je singularna: 0 * 10^-15 (3) [  1]", "matrika/invtrid"},
        {[] { invdiagR3(M()); }, "Funkcija:   invtridR3() - Gauss-Jordan\nDimenzija matrike ni definirana: ",
         "matrika/invtrid"},
        {[] { invdiagR3(Iz({{0, 2, 0}, {0, 1e-15L, 0}})); },
         "Funkcija:   invdiag() - Gauss-Jordan\nMatrika je singularna: 0.1 * 10^-15 (3) [  1]", "matrika/invtrid"},
        {[] { M S, A; elipsoidpog(Kv(), S, A); }, "Funkcija:   elipsoidpog\nMatrika mora biti velikosti 3 x 3: ",
         "matrika/elipsoidpog"},
    };
    for (const Primer& p : primeri) {
        SCOPED_TRACE(p.sporocilo);
        PricakujNapako(RunChild(p.koda), p.sporocilo, p.vir);
    }
}
