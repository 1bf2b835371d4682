// Processing settings: keywords and defaults, the checks with their messages,
// the option conflicts, the record counts and the settings report.
#include <gtest/gtest.h>

#include <sstream>

#include "TestUtil.h"
#include "src/CProcSet.h"

namespace {

// Reads the settings in this process (the file must pass every check);
// konzola receives what went to the console.
CProcSet Preberi(const std::string& pot, std::string* konzola = nullptr)
{
    CProcSet p;
    std::ostringstream report;
    const std::string k = Tiho([&] { p.ReadProcSet(pot, report); });
    if (konzola != nullptr) *konzola = k;
    return p;
}

// Whole-number, flag and word settings, labelled by their keywords.
std::string Cela(const CProcSet& p)
{
    std::ostringstream s;
    s << "DIM " << p.GetDim() << " S02 " << p.GetIfVarApriori() << " XVT " << p.GetXVel() << " XV0 " << p.GetifVA()
      << " GMT/STR/OPT2 " << p.GetizrisGMT() << p.GetizrisSTR() << p.GetizrisOPT2() << " IZP " << p.GetizpisSet()
      << p.GetizpisPod() << p.GetizpisEnPop() << p.GetizpisRez() << p.GetizpisCorrUnk() << p.GetizpisLMer()
      << " CORKOT " << p.GetCorAng() << " CONTPRINT " << p.GetContPrint() << " ITER " << p.GetifIter() << " ITERMAX "
      << p.GetNIter() << " MATFULL " << p.GetMatFull() << " UKRZ/KREF/ESTK/OBSRES " << p.IfUkrZ << p.IfkRef
      << p.IfEstkRef << p.ifObsResiduals << " " << p.GetAngUnit() << " " << p.GetNumSolve() << " " << p.RobSolve
      << " " << p.kRefType;
    return s.str();
}

// gtestp, datasp, izaupp, hipelp, skladp, lpnorm, SVDthres, IterThres, R_Z, kRef.
std::vector<long double> Realna(const CProcSet& p)
{
    return {p.Getgtestp(), p.Getdatasp(), p.Getizaupp(), p.Gethipelp(), p.Getskladp(),
            p.lpnorm,      p.SVDthres,    p.GetIterThres(), p.R_Z,      p.kRef};
}

// Record counts by the record's letter ("XH": X records filed as heights).
std::string Stevila(const CProcSet& p)
{
    std::ostringstream s;
    s << "X " << p.GetNCrdA() << " XH " << p.GetNHA() << " H " << p.GetNH() << " C " << p.GetNCrd() << " S "
      << p.GetNDir() << " A " << p.GetNAzi() << " P " << p.GetNPara() << " Z " << p.GetNZen() << " V " << p.GetNVec()
      << " D " << p.GetNDist2() << " L " << p.GetNDist3() << " h " << p.GetNHdif();
    return s.str();
}

const std::string T = "X T1 100.0 200.0\nX T2 150.0 250.0\n";   // two plane points

}  // namespace

TEST(CProcSet, DefaultsAndKeywords)
{
    const CProcSet d;
    // The long-double defaults are double constants widened, not long-double literals.
    const auto W = [](double x) { return static_cast<long double>(x); };
    EXPECT_EQ(Cela(d), "DIM 0 S02 0 XVT 0 XV0 0 GMT/STR/OPT2 000 IZP 111111 CORKOT 1 CONTPRINT 0 ITER 0 ITERMAX 25 "
                       "MATFULL 1 UKRZ/KREF/ESTK/OBSRES 0000 DMS QRGIV MNK NONE");
    EXPECT_EQ(Realna(d), (std::vector<long double>{W(0.95), W(0.99), W(0.95), W(0.95), W(0.95), W(1.0), W(1e-12),
                                                   W(1e-5), W(6371000.0), W(0.13)}));
    EXPECT_EQ(Stevila(d), "X 0 XH 0 H 0 C 0 S 0 A 0 P 0 Z 0 V 0 D 0 L 0 h 0");

    // Every keyword; later ones override (*EK over *AU, *NUMSOLV over *RESSIS);
    // *KTYP STAT estimates the refraction correction whatever *IZPSET says;
    // *OBSRES and *DIM after *K are not read.
    const CProcSet p = Preberi(std::string(NIVEX_TEST_DATA) + "/procset/vse_nastavitve.dat");
    EXPECT_EQ(Cela(p), "DIM 3 S02 1 XVT 0 XV0 0 GMT/STR/OPT2 111 IZP 000200 CORKOT 0 CONTPRINT 0 ITER 1 ITERMAX 7 "
                       "MATFULL 0 UKRZ/KREF/ESTK/OBSRES 1110 GON QRMGS LPN STAT");
    EXPECT_EQ(Realna(p), (std::vector<long double>{0.9L, 0.999L, 0.8L, 0.39L, 0.5L, 1.5L, 1e-9L, 2.5e-4L, 6379000.0L,
                                                   0.14L}));

    // A word other than LPN leaves the exponent; the rest of its line is a
    // remark, however long.  Without zenith distances the refraction type is
    // neither checked nor estimated.
    const std::string x(100000, 'x');
    const CProcSet h = Preberi(Datoteka("# " + x + "\n*DIM 2 " + x + "\n*ROBSOLV HUB 1.5 " + x +
                                        "\n*S02 APRIORI\n*S02 APOSTERIORI\n*KTYP DOUBLE\n*XVT 2014.5\n" +
                                        "X T1 1 2 1\nX T2 3 4 0\n"));
    EXPECT_EQ(h.lpnorm, 1.0L);
    EXPECT_EQ(h.GetT0(), 2014.5);
    EXPECT_EQ(Cela(h), "DIM 2 S02 0 XVT 1 XV0 0 GMT/STR/OPT2 000 IZP 111111 CORKOT 1 CONTPRINT 0 ITER 0 ITERMAX 25 "
                       "MATFULL 1 UKRZ/KREF/ESTK/OBSRES 0000 DMS QRGIV HUB DOUBLE");
}

TEST(CProcSet, OptionConflictsAreResolvedWithWarnings)
{
    std::string konzola;
    const CProcSet p = Preberi(Datoteka("*DIM 2\n*XVT 2010.0\n*STR\n*OPT2\n*KTYP SINGLE\n*OBSRES\n*ITER 1\n"
                                        "X T1 1 2 1\nX T2 3 4 0\n"),
                               &konzola);
    EXPECT_EQ(konzola, "\n\n #### Ocena koeficienta refrakcije ni mozna ob oceni vektorjev hitrosti      #### \n\n"
                       "\n\n #### Nastavljena analiza vpliva popravkov na neznanke - iteracijski postopek izkljucen"
                       "      #### \n\n\n\n #### Izpisa za S-transformacijo (SE) ni mozno narediti ob oceni "
                       "vektorjev hitrosti      #### \n\n\n\n #### Izpisa za optimizacijo 2. reda (SE) ni mozno "
                       "narediti ob oceni vektorjev hitrosti      #### \n\n");
    EXPECT_EQ(Cela(p), "DIM 2 S02 0 XVT 1 XV0 0 GMT/STR/OPT2 000 IZP 111111 CORKOT 1 CONTPRINT 0 ITER 0 ITERMAX 25 "
                       "MATFULL 1 UKRZ/KREF/ESTK/OBSRES 0001 DMS QRGIV MNK SINGLE");
}

TEST(CProcSet, RecordCounts)
{
    // Every kind, records continued on following lines, comments, remarks,
    // an unknown keyword and records after *K.  Only the unknown *NEKAJ draws
    // the warning, with its line, on the console and in the report;
    // continuation lines, comments and datum words do not.
    std::string konzola;
    CProcSet p;
    std::ostringstream report;
    konzola = Tiho([&] { p.ReadProcSet(std::string(NIVEX_TEST_DATA) + "/procset/zapisi.dat", report); });
    EXPECT_EQ(Stevila(p), "X 4 XH 0 H 1 C 2 S 3 A 1 P 1 Z 2 V 1 D 2 L 1 h 2");
    const std::string t = " #### NEPOZNAN PARAMETER OBDELAVE -> *NEKAJ  (vrstica 30) - prezrt      #### ";
    EXPECT_EQ(konzola, "\n\n" + t + "\n\n");
    EXPECT_EQ(report.str(), "\n" + t + "\n\n");
    ASSERT_EQ(p.NeznaneBesede().size(), 1u);
    EXPECT_EQ(p.NeznaneBesede()[0].vrstica, 30);

    // Levelling: X are heights when *DIM 1 stands first.  GON angles take one
    // word, so "A1 remark" is a remark.  X before *DIM 2 are coordinate points.
    const struct {
        std::string vhod, stevila;
    } primeri[] = {
        {"*DIM 1\nX A 1.0\nX B 2.0\nX C 3.0\nh A B 1.0 0.5\nh B C\n 1.0 0.5\nH A 1.0 2.0\n",
         "X 0 XH 3 H 1 C 0 S 0 A 0 P 0 Z 0 V 0 D 0 L 0 h 2"},
        {"*DIM 2\n*AU GON\n" + T + "S T1 T2 100.0 0.3 A1 remark\nA T1 T2 50.0 1.0\n",
         "X 2 XH 0 H 0 C 0 S 1 A 1 P 0 Z 0 V 0 D 0 L 0 h 0"},
        {T + "*DIM 2\n", "X 2 XH 0 H 0 C 0 S 0 A 0 P 0 Z 0 V 0 D 0 L 0 h 0"},
    };
    for (const auto& z : primeri) EXPECT_EQ(Stevila(Preberi(Datoteka(z.vhod))), z.stevila);
}

TEST(CProcSet, SettingsReportSections)
{
    // The golden reports hold every section; *IZPSET 0 prints none.
    std::ostringstream nic;
    Preberi(Datoteka("*DIM 2\n*IZPSET 0\n*GMT\n" + T)).PrintProcSet(nic);
    EXPECT_EQ(nic.str(), "");
}

TEST(CProcSet, SettingsReportNamesTheExportFiles)
{
    // The files asked for are made, GeoJSON not for a levelling network, CSV
    // not asked for; the coordinates' system by its EPSG code closes the list.
    std::ostringstream r;
    Preberi(Datoteka("*DIM 1\n*JSON\n*GEOJSON\n*HTML\n*EPSG 3794\nX A 100\nX B 101\n")).PrintProcSet(r);
    const std::string izvoz = "IZVOZ REZULTATOV ZA DRUGE PROGRAME:\n-----------------------------------\n"
                              "Datoteka z rezultati JSON    SE JE izdelala!\n"
                              "Datoteka z rezultati GeoJSON SE NI izdelala!\n"
                              "Datoteka z rezultati CSV     SE NI izdelala!\n"
                              "Datoteka z rezultati HTML    SE JE izdelala!\n"
                              "Koordinatni sistem: EPSG:3794\n\n\n";
    EXPECT_TRUE(r.str().ends_with(izvoz)) << r.str();
}
