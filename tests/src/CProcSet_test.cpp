// Processing settings: keywords and defaults, the checks with their messages,
// the option conflicts, the record counts and the settings report.
#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "TestUtil.h"
#include "src/CProcSet.h"

namespace {

std::string Datoteka(const std::string& text)
{
    const std::string pot = TempDir("procset") + "/mreza.dat";
    WriteFile(pot, text);
    return pot;
}

// Reads the settings in this process (the file must pass every check);
// konzola receives what went to the console.
CProcSet Preberi(const std::string& pot, std::string* konzola = nullptr)
{
    CProcSet p;
    std::ostringstream report, k;
    std::streambuf* const cout = std::cout.rdbuf(k.rdbuf());
    p.ReadProcSet(pot, report);
    std::cout.rdbuf(cout);
    if (konzola != nullptr) *konzola = k.str();
    return p;
}

// Whole-number and flag settings, labelled by their keywords.
std::string Cela(const CProcSet& p)
{
    std::ostringstream s;
    s << "DIM " << p.GetDim() << " S02 " << p.GetIfVarApriori() << " XVT " << p.GetXVel() << " XV0 " << p.GetifVA()
      << " GMT/STR/OPT2 " << p.GetizrisGMT() << p.GetizrisSTR() << p.GetizrisOPT2() << " IZP " << p.GetizpisSet()
      << p.GetizpisPod() << p.GetizpisEnPop() << p.GetizpisRez() << p.GetizpisCorrUnk() << p.GetizpisLMer()
      << " CORKOT " << p.GetCorAng() << " CONTPRINT " << p.GetContPrint() << " ITER " << p.GetifIter() << " ITERMAX "
      << p.GetNIter() << " MATFULL " << p.GetMatFull() << " UKRZ/KREF/ESTK/OBSRES " << p.IfUkrZ << p.IfkRef
      << p.IfEstkRef << p.ifObsResiduals;
    return s.str();
}

// gtestp, datasp, izaupp, hipelp, skladp, lpnorm, SVDthres, IterThres, R_Z, kRef.
std::vector<long double> Realna(const CProcSet& p)
{
    return {p.Getgtestp(), p.Getdatasp(), p.Getizaupp(), p.Gethipelp(), p.Getskladp(),
            p.lpnorm,      p.SVDthres,    p.GetIterThres(), p.R_Z,      p.kRef};
}

std::vector<std::string> Besede(const CProcSet& p) { return {p.GetAngUnit(), p.GetNumSolve(), p.RobSolve, p.kRefType}; }

// Record counts by the record's letter ("XH": X records filed as heights).
std::string Stevila(const CProcSet& p)
{
    std::ostringstream s;
    s << "X " << p.GetNCrdA() << " XH " << p.GetNHA() << " H " << p.GetNH() << " C " << p.GetNCrd() << " S "
      << p.GetNDir() << " A " << p.GetNAzi() << " P " << p.GetNPara() << " Z " << p.GetNZen() << " V " << p.GetNVec()
      << " D " << p.GetNDist2() << " L " << p.GetNDist3() << " h " << p.GetNHdif();
    return s.str();
}

// A fatal end in a child: status 1, the framed message on the console and in the report.
void PricakujNapako(const std::string& pot, const std::string& message)
{
    const std::string rep = TempDir("procset") + "/mreza.NVX";
    const Izid r = RunChild([&] {
        std::ofstream report(rep);
        CProcSet p;
        p.ReadProcSet(pot, report);
    });
    EXPECT_EQ(r.status, 1) << message << "\n" << r.out;
    EXPECT_NE(r.out.find("\n\n" + message + "\n\n\tKoncujem program ... "), std::string::npos) << r.out;
    EXPECT_NE(ReadFile(rep).find(message), std::string::npos) << message;
}

const std::string T = "X T1 100.0 200.0\nX T2 150.0 250.0\n";   // two plane points

}  // namespace

TEST(CProcSet, DefaultsAndKeywords)
{
    const CProcSet d;
    // The long-double defaults are double constants widened, not long-double literals.
    const auto W = [](double x) { return static_cast<long double>(x); };
    EXPECT_EQ(Cela(d), "DIM 0 S02 0 XVT 0 XV0 0 GMT/STR/OPT2 000 IZP 111111 CORKOT 1 CONTPRINT 0 ITER 0 ITERMAX 25 "
                       "MATFULL 1 UKRZ/KREF/ESTK/OBSRES 0000");
    EXPECT_EQ(Realna(d), (std::vector<long double>{W(0.95), W(0.99), W(0.95), W(0.95), W(0.95), W(1.0), W(1e-12),
                                                   W(1e-5), W(6371000.0), W(0.13)}));
    EXPECT_EQ(Besede(d), (std::vector<std::string>{"DMS", "QRGIV", "MNK", "NONE"}));
    EXPECT_EQ(Stevila(d), "X 0 XH 0 H 0 C 0 S 0 A 0 P 0 Z 0 V 0 D 0 L 0 h 0");

    // Every keyword; later ones override (*EK over *AU, *NUMSOLV over *RESSIS);
    // *KTYP STAT estimates the refraction correction whatever *IZPSET says;
    // *OBSRES and *DIM after *K are not read.
    const CProcSet p = Preberi(std::string(NIVEX_TEST_DATA) + "/procset/vse_nastavitve.dat");
    EXPECT_EQ(Cela(p), "DIM 3 S02 1 XVT 0 XV0 0 GMT/STR/OPT2 111 IZP 000200 CORKOT 0 CONTPRINT 0 ITER 1 ITERMAX 7 "
                       "MATFULL 0 UKRZ/KREF/ESTK/OBSRES 1110");
    EXPECT_EQ(Realna(p), (std::vector<long double>{0.9L, 0.999L, 0.8L, 0.39L, 0.5L, 1.5L, 1e-9L, 2.5e-4L, 6379000.0L,
                                                   0.14L}));
    EXPECT_EQ(Besede(p), (std::vector<std::string>{"GON", "QRMGS", "LPN", "STAT"}));
    EXPECT_EQ(Stevila(p), "X 2 XH 0 H 0 C 0 S 0 A 0 P 0 Z 1 V 0 D 0 L 0 h 0");
    char au[4], ns[10];
    EXPECT_STREQ(p.GetAngUnit(au), "GON");
    EXPECT_STREQ(p.GetNumSolve(ns), "QRMGS");

    // A word other than LPN leaves the exponent; the rest of its line is a remark.
    const CProcSet h = Preberi(Datoteka("*DIM 2\n*ROBSOLV HUB 1.5\n*S02 APRIORI\n*S02 APOSTERIORI\n" + T));
    EXPECT_EQ(h.RobSolve, "HUB");
    EXPECT_EQ(h.lpnorm, 1.0L);
    EXPECT_EQ(h.GetIfVarApriori(), 0);
    // Velocities: X records carry a-priori velocities and a flag, observations an epoch.
    const CProcSet v = Preberi(Datoteka("*DIM 2\n*XVT 2014.5\n*XV0\nX T1 1 2 0.001 0.002 1\nX T2 3 4 0 0 0\n"
                                               "D T1 T2 2.8 1.0 2013.25\n"));
    EXPECT_EQ(v.GetT0(), 2014.5);
    EXPECT_EQ(Cela(v), "DIM 2 S02 0 XVT 1 XV0 1 GMT/STR/OPT2 000 IZP 111111 CORKOT 1 CONTPRINT 0 ITER 0 ITERMAX 25 "
                       "MATFULL 1 UKRZ/KREF/ESTK/OBSRES 0000");
    EXPECT_EQ(Stevila(v), "X 2 XH 0 H 0 C 0 S 0 A 0 P 0 Z 0 V 0 D 1 L 0 h 0");
    // Without zenith distances the refraction type is neither checked nor estimated.
    const CProcSet k = Preberi(Datoteka("*DIM 2\n*KTYP DOUBLE\n" + T));
    EXPECT_TRUE(k.IfkRef && !k.IfEstkRef);
    // Lines far longer than any buffer are passed over whole; the scan goes on.
    const std::string x(100000, 'x');
    const CProcSet l = Preberi(Datoteka("# " + x + "\n*DIM 2 " + x + "\n*ITERMAX 3   " + x + "\nX T1 1 2 " +
                                                     x + "\nX T2 3 4\n*GMT " + x + "\nD T1 T2 2.8 1.0 " + x +
                                                     "\n*NUMSOLV SVD\n"));
    EXPECT_EQ(Cela(l), "DIM 2 S02 0 XVT 0 XV0 0 GMT/STR/OPT2 100 IZP 111111 CORKOT 1 CONTPRINT 0 ITER 0 ITERMAX 3 "
                       "MATFULL 1 UKRZ/KREF/ESTK/OBSRES 0000");
    EXPECT_EQ(l.GetNumSolve(), "SVD");
    EXPECT_EQ(Stevila(l), "X 2 XH 0 H 0 C 0 S 0 A 0 P 0 Z 0 V 0 D 1 L 0 h 0");
}

TEST(CProcSet, FatalPathsEndTheRunWithTheirMessages)
{
    const std::string dim = " **** Ni pravi podatek:    Dimenzija mre\x9E"   // Windows-1250 byte of "ž"
                            "e (*DIM [1,2,3])      **** ";
    const std::string brezX = " **** Ni podatka o pribliznih vrednostih neznank (X ...)      **** ";
    const std::string zapisX = " stoji pred koncno nastavitvijo *DIM: *DIM mora stati pred prvim zapisom X      *** ";
    const std::string celo = " **** Vrednost parametra obdelave ni celo stevilo [0 - 65535]:    ";
    const std::string stevilo = " **** Vrednost parametra obdelave ni stevilo:    ";
    const std::string manjka = " **** Manjka vrednost parametra obdelave:    ";
    const std::string D4 = " **** Zapis D (horizontalna dolzina) (vrstica 4)", konec = "      *** ";
    const struct {
        std::string vhod, sporocilo;
    } primeri[] = {
        // The first four checks run in order: each of these cases also fails
        // the checks after its own.  A word longer than the unit's field is a
        // wrong unit, not a cut-down DMS.
        {"*DIM 7\n*ROBSOLV L2N\n*NUMSOLV MGS\n*EK DMSDMSDMSDMS\n" + T,
         " **** Ni pravi podatek:    Enote Kotov (*EK, *AU)      **** "},
        {"*DIM 7\n*ROBSOLV L2N\n*NUMSOLV MGS\n" + T,
         " **** Ni pravi podatek:    Resitev sistema (*RESSIS, *NUMSOLV)      **** "},
        {"*DIM 7\n*ROBSOLV L2N\n" + T, " **** Ni pravi podatek:    Resitev sistema (*ROBSOLV)      **** "},
        {"*NUMSOLV CH\n" + T, dim},
        {"*DIM 4\n" + T, dim},
        {"*DIM 2\nD T1 T2 2.8 1.0\n", brezX},
        {"X T1 100.0\nX T2 101.0\n*DIM 1\n", brezX},   // filed as coordinate points before *DIM 1
        {"*DIM 2\n*KTYP DOUBLE\n" + T + "Z T1 T2 90 0 0 2.0\n",
         " **** Ni pravi podatek:    Nacin ocene refrakcijskega koeficienta (*KTYP)      **** "},
        {"*DIM 2\n*S02 NEKAJ\n" + T, " **** Ni pravi podatek:    Uporaba referencne variance (*S02)      *** "},
        {"*DIM 2\n*ITERMAX 1O\n" + T, celo + "*ITERMAX 1O  (vrstica 2)" + konec},
        {"*DIM -2\n" + T, celo + "*DIM -2  (vrstica 1)" + konec},
        {"*DIM 2\n\n*PGTEST 0,95\n" + T, stevilo + "*PGTEST 0,95  (vrstica 3)" + konec},
        {"*DIM 2\n*ROBSOLV LPN p\n" + T, stevilo + "*ROBSOLV LPN p  (vrstica 2)" + konec},
        {"*DIM 2\n*XVT 1e999999\n" + T, stevilo + "*XVT 1e999999  (vrstica 2)" + konec},
        {"*DIM\n2\n" + T, manjka + "*DIM  (vrstica 1)" + konec},   // the value stands on the keyword's line
        {"*DIM 2\n*ROBSOLV LPN\n" + T, manjka + "*ROBSOLV LPN  (vrstica 2)" + konec},
        {"*DIM 2\n*XV0\n" + T,
         " **** Ni pravi podatek:    A-priori hitrosti (*XV0) brez ocene hitrosti (*XVT epoha)      *** "},
        {"*DIM 2\n*PHIPEL 95\n" + T,
         " **** Ni pravi podatek:    Verjetnost *PHIPEL mora lezati med 0 in 1 (izkljucno)      *** "},
        // X records filed under another dimension than the final one.
        {"X T0 99.0\n*DIM 1\nX T1 100.0\nX T2 101.0\n", " **** Zapis X (vrstica 1)" + zapisX},
        {"*DIM 1\nX T1 100.0\n*DIM 2\nX T2 1 2\n", " **** Zapis X (vrstica 2)" + zapisX},
        {"*DIM 1\nX T1 100.0\nX T2 101.0\n\nD T1 T2 12.0 1.0\n",
         " **** Zapis D (horizontalna dolzina) (vrstica 5) ne sodi v visinsko mrezo (*DIM 1: samo X, H, h)      *** "},
        {"*DIM 2\n" + T + "D T1 T2 12.0 1,0\n", D4 + ": polje 2. stevila ni pravo stevilo -> 1,0 (vrstica 4)" + konec},
        // A DMS angle takes whole degrees and minutes.
        {"*DIM 2\n" + T + "S T1 T2 10.5 20 30 1.0\n",
         " **** Zapis S (horizontalna smer) (vrstica 4): polje 1. stevila ni pravo stevilo -> 10.5 (vrstica 4)      *** "},
        // A record cut short by the next record, by *K and by the end of the file.
        {"*DIM 2\n" + T + "D T1 T2 12.0\nD T1 T2 12.0 1.0\n",
         D4 + ": polje 2. stevila ni pravo stevilo -> D (vrstica 5)" + konec},
        {"*DIM 2\n" + T + "D T1 T2\n*K\n", D4 + " je nepopoln: namesto polja stoji *K (vrstica 5)" + konec},
        {"*DIM 2\n" + T + "D T1 T2 12.0", D4 + " je nepopoln: datoteka se konca pred zadnjim poljem" + konec},
        {"*DIM 2\n*XVT 2000\nX T1 1 2 0.5\nX T2 3 4 0\n",   // the velocity flag is whole
         " **** Zapis X (priblizne koordinate tocke) (vrstica 3): polje 3. stevila ni pravo stevilo -> 0.5 (vrstica 3)      *** "},
    };
    for (const auto& p : primeri) PricakujNapako(Datoteka(p.vhod), p.sporocilo);
    PricakujNapako("/nonexistent/mreza.dat",
                   " **** Datoteke s podatki ni mogoce odpreti:    /nonexistent/mreza.dat      *** ");
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
                       "MATFULL 1 UKRZ/KREF/ESTK/OBSRES 0001");
    // Without velocities and *OBSRES nothing is switched off and nothing is said.
    const CProcSet q = Preberi(Datoteka("*DIM 2\n*STR\n*OPT2\n*KTYP SINGLE\n*ITER 1\n" + T), &konzola);
    EXPECT_EQ(konzola, "");
    EXPECT_EQ(Cela(q), "DIM 2 S02 0 XVT 0 XV0 0 GMT/STR/OPT2 011 IZP 111111 CORKOT 1 CONTPRINT 0 ITER 1 ITERMAX 25 "
                       "MATFULL 1 UKRZ/KREF/ESTK/OBSRES 0110");
}

TEST(CProcSet, RecordCounts)
{
    // Every kind, records continued on following lines, comments, remarks,
    // unknown words and records after *K.  Only the unknown words Q and
    // *NEKAJ draw the notice; continuation lines, comments and datum words do not.
    std::string konzola;
    const CProcSet p = Preberi(std::string(NIVEX_TEST_DATA) + "/procset/zapisi.dat", &konzola);
    EXPECT_EQ(Stevila(p), "X 4 XH 0 H 1 C 2 S 3 A 1 P 1 Z 2 V 1 D 2 L 1 h 2");
    EXPECT_EQ(konzola,
              ">>>> NEPOZNAN PARAMETER OBDELAVE -> Q  <<<<\n\n\n>>>> NEPOZNAN PARAMETER OBDELAVE -> *NEKAJ  <<<<\n\n\n");

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
    // Sections the shipped examples do not show (their reports are golden).
    const std::string Z = "Z T1 T2 90 0 0 2.0\n";
    const struct {
        std::string vhod, del;
    } deli[] = {
        {"*DIM 2\n*NUMSOLV QR\n" + T, "\n  Razcep matrike koeficientov s QR razcepom (Housholdnerjeva zrcaljenja)\n\n"},
        {"*DIM 2\n*NUMSOLV SVD\n*SVDTHRES 1e-10\n*MATFULL 0\n*ROBSOLV DAN\n" + T,
         "  Nastavljen prag singularnosti: 1e-10\n\nV obdelavi bodo uporabljene:  OPTIMALNO HRANJENE MATRIKE!\n\n\n"
         "NACIN OCENE NEZNANK:\n--------------------\nNacin ocene neznank je: \n\n"
         "  Robustna ocena neznank ([ro(v)] -> ro = DAN)\n\n\n"},
        {"*DIM 2\n*CORKOT 0\n*OBSRES\n" + T + "S T1 T2 0 0 0 1.0\n",
         "Pri sestavljenih kotih se korelacije NE UPOSTEVAJO!\n\n\n"
         "ANALIZA VPLIVA POGRESKOV V OPAZOVANJIH NA NEZNANKE\n--------------------------------------------------\n"
         "Numericne vrednosti opazovanj so podane samo s pogreski! UPOSTEVAJO!\n\n\n"},
        {"*DIM 2\n*KTYP STAT\n*K_REF 0.2\n" + T + Z,
         "Priblizni koeficient refrakcije:    0.200\nOcena popravka koeficienta refrakcije: STAT\n"
         " -> Ena vrednost koeficienta za vsako stojiscno tocko zenitnih razdalj\n\n\n"},
        {"*DIM 2\n*KTYP NONE\n" + T, "NONE\n -> Brez ocene popravka koeficienta refrakcije\n\n\n"},
        {"*DIM 2\n*XVT 1999\nX T1 1 2 1\nX T2 3 4 1\n",
         "A-priori vrednosti hitrosti NISO podane!\nReferen\xE8na epoha koordinat         :   1999.00\n"},
        // No export file is written, so none is claimed.
        {"*DIM 2\n*GMT\n*STR\n" + T,
         "Izhodna datoteka za S-transformacijo SE NI izdelala!\n\n\nIZRIS PODATKOV IN REZULTATOV:\n"
         "-----------------------------\nDatoteke za izris z orodjem GMT SE NISO izdelale!\n\n\n"},
    };
    for (const auto& d : deli) {
        CProcSet p = Preberi(Datoteka(d.vhod));
        std::ostringstream izpis;
        p.PrintProcSet(izpis);
        EXPECT_NE(izpis.str().find(d.del), std::string::npos) << d.vhod << "\n" << izpis.str();
        EXPECT_FALSE(p.IzdelaGMT() || p.IzdelaSTR());
    }
    CProcSet brez = Preberi(Datoteka("*DIM 2\n*IZPSET 0\n" + T));
    std::ostringstream nic;
    brez.PrintProcSet(nic);
    EXPECT_EQ(nic.str(), "");
}
