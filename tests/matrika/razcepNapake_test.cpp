// Every refusal of the decompositions, solvers and inverses: the message and
// the module it names, each caught in-process from the one fatal path.
#include <functional>
#include <string>
#include <tuple>
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

TEST(RazcepNapake, MessagesOfEveryCheck)
{
    using C = chr<long double>;
    using L = lur<long double>;
    using Q = qrr<long double>;
    using S = svdr<long double>;
    static const M Kv = Iz({{4, 1}, {1, 3}}), Pravok = Nakljucna(4, 2, 1), V2(2, 1, 1.0L), V3(3, 1, 1.0L);
    const std::string F = "Funkcija:   ", cr = F + "chr::resi\n", sr = F + "svdr::resi\n",
                      hs = "qrr::qr - housholdnerjeva zrcaljenja\n", gs = "qrr::qr - modificirani gram-schmidt\n",
                      gv = F + "qrr::qr - givensove rotacije\n", gj = F + "invgj() - Gauss Jacobi\n",
                      td = F + "invtridV() - Gauss-Jordan\n", nd = "Dimenzija matrike ni definirana: ",
                      prvo = "Dimenzija matrike ni definirana - Izvedi razcep prvo: ", sing = "Matrika je singularna: ",
                      usv = "Dimenzija matrik U,S,V ni definirana - Izvedi razcep prvo: ", nk = "mora biti kvadratna: ",
                      vrstic = " morata imeti enako stevilo vrstic: ", pred = "Matrika mora opisovati ";
    const std::string ch = "matrika/chr", lu = "matrika/lur", qr = "matrika/qrr", sv = "matrika/svdr",
                      it = "matrika/invtrid";
    const std::vector<std::tuple<std::function<void()>, std::string, std::string>> primeri = {
        {[] { C().razcep(M()); }, F + "chr::razcep\n" + nd, ch},
        {[] { C().razcep(Pravok); }, F + "chr::razcep\nMatrika mora biti kvadratna: ", ch},
        {[] { C().resi(M()); }, cr + "Dimenzija vektorja/matrike ni definirana: ", ch},
        {[] { C().resiv(V2); }, cr + "Dimenzija matrike L ni definirana: ", ch},
        {[] { C c; c.razcep(Kv); c.resiv(M()); }, cr + "Dimenzija vektorja f ni definirana: ", ch},
        {[] { C c; c.razcep(Kv); c.resiv(Kv); }, cr + "Vektorja f mora biti vektor ne matrika: ", ch},
        {[] { C c; c.razcep(Kv); c.resi(M(3, 2, 1.0L)); }, cr + "Matrika L in vektor" + vrstic, ch},
        {[] { C().inv(); }, F + "chr::inv\n" + prvo, ch},
        {[] { L().razcep(M()); }, F + "lur::razcep\n" + nd, lu},
        {[] { L().razcep(Pravok); }, F + "lur::razcep\nMatrika mora biti kvadratna: ", lu},
        {[] { L().resi(M()); }, F + "lur::resi\nDimenzija vektorja/matrike f ni definirana: ", lu},
        // P f is formed first, so an undecomposed LU fails in the product.
        {[] { L().resiv(V2); }, "Operator:   *\nDimenziji matrik napacni: ", "matrika/matrika"},
        {[] { L().inv(); }, F + "lur::inv\n" + prvo, lu},
        {[] { L l; l.razcep(Iz({{1, 2}, {2, 4}})); l.inv(); }, gj + sing + "0 * 10^-15 (3) [  1]", lu},
        {[] { Q().qrhous(M(), V2); }, F + hs + nd, qr},
        {[] { Q().qrhous(M(2, 3, 1.0L), V2); }, "Funkcija: " + hs + pred + "dolocen ali predolocen sistem: ", qr},
        {[] { Q().qrhous(Pravok, V3); }, F + hs + "Matrika in vektor" + vrstic, qr},
        {[] { Q().qrmgs(M(), V2); }, F + gs + nd, qr},
        {[] { Q().qrmgs(Kv, V2); }, "Funkcija: " + gs + pred + "predolocen sistem: ", qr},
        {[] { Q().qrmgs(Pravok, V3); }, F + gs + "Matrika in vektor" + vrstic, qr},
        {[] { Q().qrgiv(M(), V2); }, gv + nd, qr},
        {[] { Q().qrgiv(M(2, 3, 1.0L), V2); }, gv + pred + "dolocen ali predolocen sistem: ", qr},
        {[] { Q().qrgiv(Pravok, M()); }, gv + "Matrika in vektor" + vrstic, qr},
        {[] { Q().inv(); }, F + "qrr::inv\n" + prvo, qr},
        {[] { S().razcep(M(0, 3)); }, F + "svdr::razcep\n" + nd, sv},
        {[] { S().resi(V2, 1e-12L); }, sr + usv, sv},
        {[] { S s; s.razcep(Pravok); s.resi(M(), 1e-12L); }, sr + "Dimenzija vektorja f ni definirana: ", sv},
        {[] { S s; s.razcep(Pravok); s.resi(V3, 1e-12L); },
         sr + "Vektor f mora imeti enako stevilo vrstic kot matrika A (U): ", sv},
        {[] { S().pinvAtA(1e-12L); }, F + "svdr::pinvAtA\n" + usv, sv},
        {[] { inv(Pravok); }, gj + "Matrika " + nk, "matrika/inv"},
        {[] { inv(M()); }, gj + nd, "matrika/inv"},
        {[] { invtridV(M(3, 2, 1.0L)); }, td + "Matrika mora imeti 3 stolpce: ", it},
        {[] { invtridV(M(0, 3)); }, td + nd, it},
        {[] { invdiagR3(M()); }, F + "invtridR3() - Gauss-Jordan\n" + nd, it},
        {[] { invdiagR3(Iz({{0, 2, 0}, {0, 0, 0}})); }, F + "invdiag() - Gauss-Jordan\n" + sing + "0 * 10^-15 (3) [  1]", it},
        {[] { M s, a; elipsoidpog(Kv, s, a); }, F + "elipsoidpog\nMatrika mora biti velikosti 3 x 3: ",
         "matrika/elipsoidpog"},
    };
    for (const auto& [koda, sporocilo, vir] : primeri) {
        SCOPED_TRACE(sporocilo);
        PricakujNapako(Zavrni(koda), sporocilo, vir);
    }
}
