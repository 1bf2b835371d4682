#include "src/CNVX2JSON.h"

#include <array>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iomanip>
#include <nlohmann/json.hpp>

#include "funkcije/Besedila.h"
#include "funkcije/KotnePretvorbe.h"
#include "src/CGDatum.h"
#include "src/CNVX2GMT.h"
#include "src/CProcSet.h"
#include "src/CRezultati.h"
#include "src/CTerObsZbirka.h"
#include "src/FNacrt.h"
#include "src/FPovzetek.h"
#include "src/NivexAux.h"

#ifndef NIVEX_VERSION
#define NIVEX_VERSION "3.2.0"
#endif

using json = nlohmann::ordered_json;

namespace {
// A number as JSON: the double nearest to it, null when it is not finite.
json Num(real x)
{
    const double d = static_cast<double>(x);
    return std::isfinite(d) ? json(d) : json(nullptr);
}

json Kot(real stopinje) { return Num(deg2rad(stopinje)); }

json Niz(const real* x, int n)
{
    json a = json::array();
    for (int i = 0; i < n; ++i) a.push_back(Num(x[i]));
    return a;
}

json Elipsa(const RezBlok& b)
{
    return {{"a", Num(b.a)}, {"b", Num(b.b)}, {"theta", Kot(b.theta)},
            {"a_confidence", Num(b.aZaup)}, {"b_confidence", Num(b.bZaup)}};
}

json Blok(const RezBlok& b)
{
    json j = {{"approximate", Niz(b.apr, b.dim)}, {"correction", Niz(b.pop, b.dim)},
              {"adjusted", Niz(b.izr, b.dim)}, {"sigma", Niz(b.sig, b.dim)}};
    if (b.dim > 1) j["ellipse"] = Elipsa(b);
    if (b.dim == 3) {
        const real A[3] = {deg2rad(b.A[0]), deg2rad(b.A[1]), deg2rad(b.A[2])};
        j["ellipsoid"] = {{"semi_axes", Niz(b.S, 3)}, {"angles", Niz(A, 3)}, {"semi_axes_confidence", Niz(b.SZaup, 3)}};
    }
    return j;
}


json SeznamImen(const matrika<std::string>& M, Kodiranje k)
{
    json a = json::array();
    for (long i = 0; i < static_cast<long>(M.nrow()); ++i) a.push_back(NVX2Utf8(M(i, 0), k));
    return a;
}

constexpr const char* kOs[] = {"X", "Y", "Z"};

// The names of an observation's record, in the order its table lists them.
std::vector<std::string> ImenaOpazovanja(const CTerObsZbirka& TO, const RezOpazovanje& o)
{
    std::vector<std::string> imena;
    const CTerObs& z = TO.Set(o.set);
    for (unsigned j = 0; j < kTerObsVrste[o.set].imen; ++j) imena.push_back(z.GetPTS(o.zapis, static_cast<long>(j)));
    return imena;
}

// The line of the data file: a composed angle names both its directions.
json VrsticaOpazovanja(const CTerObsZbirka& TO, const RezOpazovanje& o)
{
    if (o.set == kTOAngl) {
        const std::array<long, 2> d = TO.TOAngl.Smeri(o.zapis);
        return json::array({TO.TODir.Vrstica(d[0]), TO.TODir.Vrstica(d[1])});
    }
    return TO.Set(o.set).Vrstica(o.zapis);
}

void Obvestilo(std::ostream& report, const char* label, std::size_t count, const char* word, const std::string& file)
{
    report << "\n" << label << std::setw(10) << count << std::setw(10) << word << file << "]" << "\n";
}

// A text field of a CSV line, quoted when it holds a separator, a quote or
// a line break (quotes doubled).
std::string CsvPolje(const std::string& s)
{
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

std::string CsvStevilo(real x)
{
    const double d = static_cast<double>(x);
    if (!std::isfinite(d)) return "";
    char b[32];
    const auto r = std::to_chars(b, b + sizeof b, d);
    return std::string(b, r.ptr);
}

bool Pisi(const std::string& file, const json& j, std::ostream& report)
{
    std::ofstream f;
    if (!NVX2OdpriDatoteko(f, file, report)) return false;
    f << j.dump(1, '\t', false, json::error_handler_t::replace) << "\n";
    return true;
}
}  // namespace

namespace {
// The datum: its kind and the points that fix or hold it.
json DatumDokumenta(const CRezultati& rez, const CGDatum& gdatum, Kodiranje k)
{
    json datum = {{"kind", std::string(1, rez.datum)}};
    if (rez.datum == 'V') datum["fixed_points"] = SeznamImen(gdatum.PTDV, k);
    if (rez.datum == 'V' && gdatum.nVXY != 0) datum["held_plane_points"] = SeznamImen(gdatum.PTVXY, k);
    if (rez.datum == 'V' && gdatum.nVZ != 0) datum["held_height_points"] = SeznamImen(gdatum.PTVZ, k);
    if (rez.datum == 'H') datum["excluded_points"] = SeznamImen(gdatum.PTDH, k);
    return datum;
}

// The global test of the adjustment.
json GlobalniTestDokumenta(const RezGlobalniTest& g)
{
    return {{"statistic", Num(g.statistika)},
            {"lower", Num(g.spodnja)},
            {"upper", Num(g.zgornja)},
            {"accepted", g.sprejet},
            {"dof", g.prostostne},
            {"probability", Num(g.verjetnost)},
            {"sigma0_apriori", Num(g.SoApriori)},
            {"sigma0_aposteriori", Num(g.SoAposteriori)},
            {"variance_used", g.apriori ? "apriori" : "aposteriori"},
            {"redundancy_sum", Num(g.rsum)}};
}

// What a reader needs to know of every kind of the observations: the
// page prints small values of an angular kind in arc seconds or milligon.
json VrsteDokumenta()
{
    json vrste = json::object();
    for (const TerObsSet s : TerObsSetiModela()) {
        const TerObsVrsta& v = kTerObsVrste[s];
        vrste[std::string(1, v.crka)] = {{"name", B(v.ime)},
                                         {"angular", TerObsKotna(v)},
                                         {"components", v.poDim},
                                         {"joins_points", v.povezuje}};
    }
    return vrste;
}

// The points: coordinates, and velocities where they were estimated.
json TockeDokumenta(const CRezultati& rez, Kodiranje k)
{
    json tocke = json::array();
    for (const RezTocka& t : rez.tocke) {
        json p = Blok(t.koordinate);
        p["name"] = NVX2Utf8(t.ime, k);
        p["fixed"] = t.dana;
        if (t.hitrosti.dim > 0) p["velocity"] = Blok(t.hitrosti);
        tocke.push_back(std::move(p));
    }
    return tocke;
}

// The points whose approximate values were computed from the observations.
json PribliznaDokumenta(const CRezultati& rez, Kodiranje k)
{
    json tocke = json::array();
    for (const PribliznaTocka& t : rez.priblizne) {
        json x = json::array();
        for (int c = 0; c < rez.dim; ++c) x.push_back(Num(t.x[static_cast<std::size_t>(c)]));
        tocke.push_back({{"name", NVX2Utf8(t.ime, k)}, {"coordinates", std::move(x)},
                         {"methods", PribliznaNacinBesede(t.nacini)}, {"lines", t.vrstice},
                         {"determinations", t.dolocitev}, {"spread", Num(t.razpon)}, {"rough", t.groba}});
    }
    return tocke;
}

// The estimated refraction coefficients, per station or one for the network.
json RefrakcijaDokumenta(const CRezultati& rez, Kodiranje kodiranje)
{
    json k = json::array();
    for (const RezRefrakcija& r : rez.refrakcija)
        k.push_back({{"station", r.postaja.empty() ? json(nullptr) : json(NVX2Utf8(r.postaja, kodiranje))},
                     {"k", Num(r.k)},
                     {"sigma", Num(r.sig)}});
    return k;
}

// The observations; the indices of those a robust adjustment gave zero
// weight are added to nicelne.
json OpazovanjaDokumenta(const CRezultati& rez, const CTerObsZbirka& TO, bool robustna, json& nicelne)
{
    json opazovanja = json::array();
    for (const RezOpazovanje& o : rez.opazovanja) {
        if (o.vrsta == 0) continue;
        json imena = json::array();
        for (const std::string& s : ImenaOpazovanja(TO, o)) imena.push_back(NVX2Utf8(s, TO.kodiranje));
        json x = {{"kind", std::string(1, o.vrsta)},
                  {"points", std::move(imena)},
                  {"line", VrsticaOpazovanja(TO, o)},
                  {"observed", Num(o.opazovano)},
                  {"sigma", Num(TO.Set(o.set).GetSIG(o.zapis, o.komponenta))},
                  {"residual", Num(o.v)},
                  {"sigma_residual", Num(o.sv)},
                  {"adjusted", Num(o.izravnano)},
                  {"sigma_adjusted", Num(o.sig)},
                  {"redundancy", Num(o.r)},
                  {"w", Num(o.w)},
                  {"mdb", Num(o.nab)},
                  {"external", Num(o.lam)},
                  {"flagged", o.napaka},
                  {"gross_error", o.ocena ? Num(o.groba) : json(nullptr)}};
        if (TerObsKomponente(o.vrsta)) x["component"] = kOs[o.komponenta];
        if (robustna && o.vrstica >= 0 && static_cast<std::size_t>(o.vrstica) < rez.robustneUtezi.size()) {
            const real u = rez.robustneUtezi[static_cast<std::size_t>(o.vrstica)];
            x["weight"] = Num(u);
            if (u == 0.0L) nicelne.push_back(opazovanja.size());
        }
        opazovanja.push_back(std::move(x));
    }
    return opazovanja;
}

// The relative error ellipses between pairs of points.
json RelativneDokumenta(const CRezultati& rez, Kodiranje k)
{
    json rel = json::array();
    for (const RezRelElipsa& e : rez.relativne)
        rel.push_back({{"points", json::array({NVX2Utf8(e.od, k), NVX2Utf8(e.doTocke, k)})},
                       {"a", Num(e.a)},
                       {"b", Num(e.b)},
                       {"theta", Kot(e.theta)}});
    return rel;
}

// The point names of a record of the snooping.
json ImenaZapisa(const CTerObsZbirka& TO, const RezIzlocen& z)
{
    json imena = json::array();
    for (unsigned j = 0; j < kTerObsVrste[z.set].imen; ++j)
        imena.push_back(NVX2Utf8(TO.Set(z.set).GetPTS(z.zapis, static_cast<long>(j)), TO.kodiranje));
    return imena;
}

// The data snooping: whether it ran, how many records it removed, each step
// (the record, its statistic, p and critical value and estimated error when
// it was removed, sigma0 and the global test after the removal, its
// misclosure against the final adjustment), why it stopped, the last test's
// n, level and critical value, and the records it could not test.
json IskanjeDokumenta(const RezIskanje& isk, const CTerObsZbirka& TO)
{
    json koraki = json::array(), neprevereni = json::array();
    for (const RezIzlocen& z : isk.izloceni)
        koraki.push_back({{"kind", std::string(1, z.vrsta)},
                          {"points", ImenaZapisa(TO, z)},
                          {"line", z.vrstica},
                          {"statistic", Num(z.w)},
                          {"statistic_kind", z.studentiziran ? "studentized" : "normalized"},
                          {"p_value", Num(z.p)},
                          {"critical_value", Num(z.kriticna)},
                          {"gross_error", Num(z.groba)},
                          {"sigma0_aposteriori", Num(z.SoPo)},
                          {"global_test_statistic", Num(z.statistika)},
                          {"misclosure", Num(z.odstopanje)}});
    for (const RezIzlocen& z : isk.neprevereni)
        neprevereni.push_back({{"kind", std::string(1, z.vrsta)}, {"points", ImenaZapisa(TO, z)}, {"line", z.vrstica}});
    return {{"enabled", isk.vklopljeno},
            {"removed", isk.izloceni.size()},
            {"steps", std::move(koraki)},
            {"stop", isk.vklopljeno ? json(isk.razlog) : json(nullptr)},
            {"stop_reason", isk.vklopljeno ? json(NVX2Utf8(isk.konec, TO.kodiranje)) : json(nullptr)},
            {"not_tested", std::move(neprevereni)},
            {"statistic_kind", isk.vklopljeno ? json(isk.studentiziran ? "studentized" : "normalized") : json(nullptr)},
            {"tests", isk.testov},
            {"level", Num(1.0L - isk.alfa)},
            {"critical_value", isk.vklopljeno ? Num(isk.kriticna) : json(nullptr)}};
}

// The warnings of the run so far, each with the line of the data file it
// concerns (null where it concerns no line).
json OpozorilaDokumenta(const CProcSet& procset, Kodiranje k)
{
    json a = json::array();
    for (const NivexOpozorilo& o : PovzetekOpozorila(procset))
        a.push_back({{"text", NVX2Utf8(o.besedilo, k)}, {"line", o.vrstica > 0 ? json(o.vrstica) : json(nullptr)}});
    return a;
}

// The robust adjustment: its weight function, re-weightings and the
// observations it gave zero weight.
json RobustnaDokumenta(const CRezultati& rez, const CProcSet& procset, json&& nicelne)
{
    json r = {{"function", rez.robustna},
              {"reweightings", rez.globalniTest.iteracijRobustne},
              {"zero_weight", std::move(nicelne)}};
    if (rez.robustna == "LPN") r["p"] = Num(procset.lpnorm);
    return r;
}
}  // namespace

namespace {
// The loop misclosures before the adjustment: per kind the counts, the
// limit of T and the loops kept (the report's), each with its records'
// lines and directions, misclosure and deviations in metres and T.
json ZankeDokumenta(const RezZanke& zanke)
{
    json vrste = json::array();
    for (const RezZankeVrste& v : zanke.vrste) {
        json seznam = json::array();
        for (const RezZanka& z : v.zanke) {
            json w = json::array(), sw = json::array();
            for (std::size_t c = 0; c < z.w.size(); ++c) {
                w.push_back(Num(z.w[c]));
                sw.push_back(Num(z.sw[c]));
            }
            seznam.push_back({{"number", z.stevilka},
                              {"lines", z.vrstice},
                              {"directions", std::vector<int>(z.smeri.begin(), z.smeri.end())},
                              {"misclosure", std::move(w)},
                              {"sigma", std::move(sw)},
                              {"statistic", z.T < 0 ? json(nullptr) : Num(z.T)},
                              {"over_limit", z.presezena}});
        }
        vrste.push_back({{"kind", std::string(1, v.vrsta == kTOHdif ? 'h' : 'V')},
                         {"components", v.d},
                         {"count", v.stevilo},
                         {"over_limit", v.presezenih},
                         {"limit", Num(ZankeMeja(v.d, zanke.zaupanje))},
                         {"loops", std::move(seznam)}});
    }
    return {{"level", Num(zanke.zaupanje)}, {"kinds", std::move(vrste)}};
}
}  // namespace

json CNVX2JSON::Dokument(const std::string& dataFile) const
{
    json j;
    j["schema"] = "nivex-results";
    j["schema_version"] = kNVX2JSONVerzija;
    j["program"] = {{"name", "nivex"}, {"version", NIVEX_VERSION}};
    j["data_file"] = dataFile;
    j["dimension"] = rez.dim;
    j["angle_unit"] = rez.kotnaEnota;
    j["method"] = rez.metoda;
    j["solution"] = rez.izvedenaResitev;
    j["language"] = BesedilaJezik() == Jezik::EN ? "en" : "sl";
    j["datum"] = DatumDokumenta(rez, gdatum, TO.kodiranje);
    j["iterations"] = rez.prehodov;
    j["converged"] = rez.skonvergirala;
    j["global_test"] = GlobalniTestDokumenta(rez.globalniTest);
    // A design has no measurements: its test would only report zero
    // misclosures, so it states none.
    if (procset.Nacrt())
        for (const char* k : {"statistic", "lower", "upper", "accepted"}) j["global_test"][k] = nullptr;
    j["ellipse_confidence_level"] = Num(rez.zaupanjeElips);
    j["critical_value"] = Num(rez.kriticnaN);
    j["delta0"] = Num(rez.del0);
    j["kinds"] = VrsteDokumenta();
    j["points"] = TockeDokumenta(rez, TO.kodiranje);
    if (!rez.priblizne.empty()) j["approximate_coordinates"] = PribliznaDokumenta(rez, TO.kodiranje);
    if (!rez.refrakcija.empty()) j["refraction"] = RefrakcijaDokumenta(rez, TO.kodiranje);

    const bool robustna = !rez.robustneUtezi.empty();
    json nicelne = json::array();
    j["observations"] = OpazovanjaDokumenta(rez, TO, robustna, nicelne);
    j["relative_ellipses"] = RelativneDokumenta(rez, TO.kodiranje);
    if (robustna) j["robust"] = RobustnaDokumenta(rez, procset, std::move(nicelne));
    j["snooping"] = IskanjeDokumenta(rez.iskanje, TO);
    if (!rez.zanke.Prazno()) j["loops"] = ZankeDokumenta(rez.zanke);
    j["warnings"] = OpozorilaDokumenta(procset, TO.kodiranje);
    if (procset.Nacrt()) j["design"] = NacrtDokument(rez, procset, TO);

    return j;
}

void CNVX2JSON::PrintJSON(const std::string& file, const json& dokument, std::ostream& report) const
{
    if (Pisi(file, dokument, report))
        Obvestilo(report, B(Besedilo::IzpisJSON), rez.tocke.size(), B(Besedilo::IzpisEnotaTock), file);
}

namespace {
// The points of the GeoJSON: each a Point feature at its adjusted position
// with its deviations, ellipse and the number of flagged observations that
// name it.
json TockeGeoJSON(const CRezultati& rez, const CTerObsZbirka& TO, int dim)
{
    json zn = json::array();
    // Flagged observations of each point.
    std::vector<long> oznacena(rez.tocke.size(), 0);
    for (const RezOpazovanje& o : rez.opazovanja) {
        if (o.vrsta == 0 || !o.napaka) continue;
        const std::vector<std::string> imena = ImenaOpazovanja(TO, o);
        for (std::size_t i = 0; i < rez.tocke.size(); ++i)
            for (const std::string& s : imena)
                if (s == rez.tocke[i].ime) {
                    ++oznacena[i];
                    break;
                }
    }
    const auto polozaj = [&](const RezTocka& t) { return Niz(t.koordinate.izr, dim); };
    for (std::size_t i = 0; i < rez.tocke.size(); ++i) {
        const RezTocka& t = rez.tocke[i];
        const RezBlok& b = t.koordinate;
        json p = {{"name", NVX2Utf8(t.ime, TO.kodiranje)}, {"fixed", t.dana}};
        for (int d = 0; d < dim; ++d) p[std::string("s") + kOs[d]] = Num(b.sig[d]);
        p["a"] = Num(b.a);
        p["b"] = Num(b.b);
        p["theta"] = Kot(b.theta);
        p["flagged_observations"] = oznacena[i];
        zn.push_back({{"type", "Feature"},
                      {"geometry", {{"type", "Point"}, {"coordinates", polozaj(t)}}},
                      {"properties", std::move(p)}});
    }
    return zn;
}
}  // namespace

void CNVX2JSON::PrintGeoJSON(const std::string& file, std::ostream& report) const
{
    const int dim = rez.dim == 3 ? 3 : 2;
    json zn = TockeGeoJSON(rez, TO, dim);
    const auto polozaj = [&](const RezTocka& t) { return Niz(t.koordinate.izr, dim); };
    auto najdi = [&](const std::string& ime) -> const RezTocka* {
        for (const RezTocka& t : rez.tocke)
            if (t.ime == ime) return &t;
        return nullptr;
    };
    // A line feature of a record: a LineString along its one line of sight,
    // a MultiLineString along the rays of an angle (NVX2Zarki), with from
    // and to then listing the ray ends in the order of the rays; false when
    // a name is not in the point list.
    const auto crta = [&](TerObsSet set, long zapis, json& p, json& geometrija) {
        const CTerObs& z = TO.Set(set);
        const std::vector<std::array<unsigned, 2>> zarki = NVX2Zarki(kTerObsVrste[set].imen);
        json od = json::array(), k = json::array(), koord = json::array();
        for (const auto& [a, b] : zarki) {
            const std::string ia = z.GetPTS(zapis, a), ib = z.GetPTS(zapis, b);
            const RezTocka* ta = najdi(ia);
            const RezTocka* tb = najdi(ib);
            if (ta == nullptr || tb == nullptr) return false;
            od.push_back(NVX2Utf8(ia, TO.kodiranje));
            k.push_back(NVX2Utf8(ib, TO.kodiranje));
            koord.push_back(json::array({polozaj(*ta), polozaj(*tb)}));
        }
        if (zarki.empty()) return false;
        const bool ena = zarki.size() == 1;
        p["from"] = ena ? od[0] : od;
        p["to"] = ena ? k[0] : k;
        geometrija = {{"type", ena ? "LineString" : "MultiLineString"}, {"coordinates", ena ? koord[0] : koord}};
        return true;
    };
    std::size_t crt = 0;
    for (const RezOpazovanje& o : rez.opazovanja) {
        if (o.vrsta == 0) continue;
        json p = {{"kind", std::string(1, o.vrsta)}}, geometrija;
        if (!crta(o.set, o.zapis, p, geometrija)) continue;
        p["component"] = TerObsKomponente(o.vrsta) ? json(kOs[o.komponenta]) : json(nullptr);
        p["line"] = VrsticaOpazovanja(TO, o);
        p["residual"] = Num(o.v);
        p["redundancy"] = Num(o.r);
        p["w"] = Num(o.w);
        p["flagged"] = o.napaka;
        p["removed"] = false;
        zn.push_back({{"type", "Feature"}, {"geometry", std::move(geometrija)}, {"properties", std::move(p)}});
        ++crt;
    }
    // The records the data snooping set aside: their statistic (its kind)
    // and estimated gross error when removed, their misclosure against the
    // final adjustment.
    for (const RezIzlocen& z : rez.iskanje.izloceni) {
        json p = {{"kind", std::string(1, z.vrsta)}}, geometrija;
        if (!crta(z.set, z.zapis, p, geometrija)) continue;
        p["component"] = nullptr;
        p["line"] = z.vrstica;
        p["residual"] = nullptr;
        p["redundancy"] = nullptr;
        p["w"] = nullptr;
        p["flagged"] = false;
        p["removed"] = true;
        p["statistic"] = Num(z.w);
        p["statistic_kind"] = z.studentiziran ? "studentized" : "normalized";
        p["gross_error"] = Num(z.groba);
        p["misclosure"] = Num(z.odstopanje);
        zn.push_back({{"type", "Feature"}, {"geometry", std::move(geometrija)}, {"properties", std::move(p)}});
        ++crt;
    }
    json j = {{"type", "FeatureCollection"}};
    if (procset.GetEPSG() > 0)
        j["crs"] = {{"type", "name"},
                    {"properties", {{"name", "urn:ogc:def:crs:EPSG::" + std::to_string(procset.GetEPSG())}}}};
    j["features"] = std::move(zn);
    if (Pisi(file, j, report))
        Obvestilo(report, B(Besedilo::IzpisGeoJSON), rez.tocke.size() + crt, B(Besedilo::IzpisEnotaObjektov), file);
}

void CNVX2JSON::PrintCSV(const std::string& file, std::ostream& report) const
{
    std::ofstream f;
    if (!NVX2OdpriDatoteko(f, file, report)) return;
    const int dim = rez.dim == 3 ? 3 : (rez.dim == 2 ? 2 : 1);
    if (dim == 1) {
        f << "name,fixed,H,sH\n";
    } else {
        f << "name,fixed";
        for (int d = 0; d < dim; ++d) f << "," << kOs[d];
        for (int d = 0; d < dim; ++d) f << ",s" << kOs[d];
        f << ",a,b,theta\n";
    }
    for (const RezTocka& t : rez.tocke) {
        const RezBlok& b = t.koordinate;
        f << CsvPolje(NVX2Utf8(t.ime, TO.kodiranje)) << "," << (t.dana ? 1 : 0);
        for (int d = 0; d < dim; ++d) f << "," << CsvStevilo(b.izr[d]);
        for (int d = 0; d < dim; ++d) f << "," << CsvStevilo(b.sig[d]);
        if (dim > 1) f << "," << CsvStevilo(b.a) << "," << CsvStevilo(b.b) << "," << CsvStevilo(deg2rad(b.theta));
        f << "\n";
    }
    Obvestilo(report, B(Besedilo::IzpisCSV), rez.tocke.size(), B(Besedilo::IzpisEnotaTock), file);
}
