// Processing settings: keywords and defaults, the checks with their messages,
// the option conflicts, the record counts and the settings report.
#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "TestUtil.h"
#include "src/CProcSet.h"

namespace {

std::string Datoteka(const std::string& tag, const std::string& text)
{
    const std::string pot = TempDir("procset_" + tag) + "/mreza.dat";
    WriteFile(pot, text);
    return pot;
}

// Reads the settings in this process (the file must pass every check).
CProcSet Preberi(const std::string& tag, const std::string& text)
{
    CProcSet p;
    std::ostringstream report;
    p.ReadProcSet(Datoteka(tag, text), report);
    return p;
}

struct Konec {
    Izid izid;
    std::string report;
};

// Reads the settings in a child process; the report goes to a file.
Konec PreberiVOtroku(const std::string& tag, const std::string& text)
{
    const std::string pot = Datoteka(tag, text);
    const std::string rep = pot + ".NVX";
    Izid r = RunChild([&] {
        std::ofstream report(rep);
        CProcSet p;
        p.ReadProcSet(pot, report);
    });
    return {r, ReadFile(rep)};
}

// A fatal end: status 1, the framed message on the console and in the report.
void PricakujNapako(const std::string& tag, const std::string& text, const std::string& message)
{
    const Konec k = PreberiVOtroku(tag, text);
    EXPECT_EQ(k.izid.status, 1) << tag << "\n" << k.izid.out;
    EXPECT_NE(k.izid.out.find("\n\n" + message + "\n\n\tKoncujem program ... "), std::string::npos)
        << tag << "\n" << k.izid.out;
    EXPECT_NE(k.report.find(message), std::string::npos) << tag;
}

const std::string kTocke2D = "X T1 100.0 200.0\nX T2 150.0 250.0\n";

}  // namespace

TEST(CProcSet, DefaultsOfTheConstructor)
{
    const CProcSet p;
    EXPECT_EQ(p.GetDim(), 0);
    EXPECT_EQ(p.GetNumSolve(), "QRGIV");
    EXPECT_EQ(p.RobSolve, "MNK");
    EXPECT_EQ(p.GetIfVarApriori(), 0);
    EXPECT_EQ(p.GetXVel(), 0);
    EXPECT_EQ(p.GetifVA(), 0);
    EXPECT_EQ(p.Getgtestp(), static_cast<long double>(0.95));
    EXPECT_EQ(p.Getdatasp(), static_cast<long double>(0.99));
    EXPECT_EQ(p.Getizaupp(), static_cast<long double>(0.95));
    EXPECT_EQ(p.Gethipelp(), static_cast<long double>(0.95));
    EXPECT_EQ(p.Getskladp(), static_cast<long double>(0.95));
    EXPECT_EQ(p.lpnorm, 1.0L);
    EXPECT_EQ(p.GetizrisGMT() + p.GetizrisSTR() + p.GetizrisOPT2(), 0);
    EXPECT_EQ(p.GetizpisSet() + p.GetizpisPod() + p.GetizpisEnPop() + p.GetizpisRez() + p.GetizpisCorrUnk() +
                  p.GetizpisLMer(),
              6);
    EXPECT_EQ(p.GetAngUnit(), "DMS");
    EXPECT_EQ(p.GetCorAng(), 1);
    EXPECT_EQ(p.GetContPrint(), 0);
    EXPECT_EQ(p.GetifIter(), 0);
    EXPECT_EQ(p.GetNIter(), 25);
    EXPECT_EQ(p.GetMatFull(), 1);
    EXPECT_EQ(p.SVDthres, static_cast<long double>(1e-12));
    EXPECT_EQ(p.GetIterThres(), static_cast<long double>(1e-5));
    EXPECT_FALSE(p.IfUkrZ || p.IfkRef || p.IfEstkRef || p.ifObsResiduals);
    EXPECT_EQ(p.R_Z, 6371000.0L);
    EXPECT_EQ(p.kRef, static_cast<long double>(0.13));
    EXPECT_EQ(p.kRefType, "NONE");
    EXPECT_EQ(p.GetNDir() + p.GetNZen() + p.GetNDist2() + p.GetNDist3() + p.GetNHdif() + p.GetNCrd() +
                  p.GetNVec() + p.GetNH() + p.GetNCrdA() + p.GetNHA() + p.GetNAzi() + p.GetNPara(),
              0u);
    char au[4], ns[10];
    EXPECT_STREQ(p.GetAngUnit(au), "DMS");
    EXPECT_STREQ(p.GetNumSolve(ns), "QRGIV");
}

TEST(CProcSet, KeywordsAndTheirValues)
{
    const std::string pot = std::string(NIVEX_TEST_DATA) + "/procset/vse_nastavitve.dat";
    CProcSet p;
    std::ostringstream report;
    p.ReadProcSet(pot, report);
    EXPECT_EQ(p.GetDim(), 3);
    EXPECT_EQ(p.GetAngUnit(), "GON");        // *EK after *AU DEG overrides it
    EXPECT_EQ(p.GetNumSolve(), "QRMGS");     // *NUMSOLV after *RESSIS SVD
    EXPECT_EQ(p.RobSolve, "LPN");
    EXPECT_EQ(p.lpnorm, 1.5L);
    EXPECT_EQ(p.GetCorAng(), 0);
    EXPECT_EQ(p.GetContPrint(), 0);
    EXPECT_EQ(p.GetifIter(), 1);
    EXPECT_EQ(p.GetNIter(), 7);
    EXPECT_EQ(p.GetMatFull(), 0);
    EXPECT_EQ(p.SVDthres, 1e-9L);
    EXPECT_EQ(p.GetIterThres(), 2.5e-4L);
    EXPECT_EQ(p.GetizrisGMT(), 1);
    EXPECT_EQ(p.GetizrisSTR(), 1);
    EXPECT_EQ(p.GetizrisOPT2(), 1);
    EXPECT_EQ(p.GetIfVarApriori(), 1);
    EXPECT_EQ(p.Getgtestp(), 0.9L);
    EXPECT_EQ(p.Getdatasp(), 0.999L);
    EXPECT_EQ(p.Getizaupp(), 0.8L);
    EXPECT_EQ(p.Gethipelp(), 0.39L);
    EXPECT_EQ(p.Getskladp(), 0.5L);
    EXPECT_EQ(p.GetizpisSet(), 0);
    EXPECT_EQ(p.GetizpisPod(), 0);
    EXPECT_EQ(p.GetizpisEnPop(), 0);
    EXPECT_EQ(p.GetizpisRez(), 2);
    EXPECT_EQ(p.GetizpisCorrUnk(), 0);
    EXPECT_EQ(p.GetizpisLMer(), 0);
    EXPECT_EQ(p.R_Z, 6379000.0L);
    EXPECT_EQ(p.kRef, 0.14L);
    EXPECT_EQ(p.kRefType, "STAT");
    EXPECT_TRUE(p.IfkRef);
    // Chosen by *KTYP, not by the print switch *IZPSET 0.
    EXPECT_TRUE(p.IfEstkRef);
    EXPECT_TRUE(p.IfUkrZ);
    EXPECT_FALSE(p.ifObsResiduals);   // *OBSRES stands after *K
    EXPECT_EQ(p.GetXVel(), 0);
    EXPECT_EQ(p.GetNCrdA(), 2u);
    EXPECT_EQ(p.GetNZen(), 1u);
    char au[4], ns[10];
    EXPECT_STREQ(p.GetAngUnit(au), "GON");
    EXPECT_STREQ(p.GetNumSolve(ns), "QRMGS");

    // A word other than LPN leaves the exponent; the rest of its line is a remark.
    const CProcSet h = Preberi("hub", "*DIM 2\n*ROBSOLV HUB 1.5\n*S02 APOSTERIORI\n" + kTocke2D);
    EXPECT_EQ(h.RobSolve, "HUB");
    EXPECT_EQ(h.lpnorm, 1.0L);
    EXPECT_EQ(h.GetIfVarApriori(), 0);

    // Velocities: epoch and a-priori velocities; X records carry them.
    const CProcSet v = Preberi("xvt", "*DIM 2\n*XVT 2014.5\n*XV0\nX T1 1 2 0.001 0.002 1\nX T2 3 4 0 0 0\n"
                                      "D T1 T2 2.8 1.0 2013.25\n");
    EXPECT_EQ(v.GetXVel(), 1);
    EXPECT_EQ(v.GetT0(), 2014.5);
    EXPECT_EQ(v.GetifVA(), 1);
    EXPECT_EQ(v.GetNCrdA(), 2u);
    EXPECT_EQ(v.GetNDist2(), 1u);
}

TEST(CProcSet, LongLinesAreSkippedWhole)
{
    // A comment and remarks far longer than any buffer must not end the scan:
    // the settings and records after them still count.
    const std::string dolgo(100000, 'x');
    const CProcSet p = Preberi("dolge", "# " + dolgo + "\n*DIM 2 " + dolgo + "\n*ITERMAX 3   " + dolgo +
                                            "\nX T1 1 2 " + dolgo + "\n" + "X T2 3 4\n*GMT " + dolgo +
                                            "\nD T1 T2 2.8 1.0 " + dolgo + "\n*NUMSOLV SVD\n");
    EXPECT_EQ(p.GetDim(), 2);
    EXPECT_EQ(p.GetNIter(), 3);
    EXPECT_EQ(p.GetNCrdA(), 2u);
    EXPECT_EQ(p.GetNDist2(), 1u);
    EXPECT_EQ(p.GetizrisGMT(), 1);
    EXPECT_EQ(p.GetNumSolve(), "SVD");
}

TEST(CProcSet, ChecksEndTheRunWithTheirMessages)
{
    PricakujNapako("au", "*DIM 2\n*AU RAD\n" + kTocke2D, " **** Ni pravi podatek:    Enote Kotov (*EK, *AU)      **** ");
    // A word longer than the unit's field is simply a wrong unit.
    PricakujNapako("au_dolg", "*DIM 2\n*EK DMSDMSDMSDMSDMSDMS\n" + kTocke2D,
                   " **** Ni pravi podatek:    Enote Kotov (*EK, *AU)      **** ");
    PricakujNapako("mgs", "*DIM 2\n*NUMSOLV MGS\n" + kTocke2D,
                   " **** Ni pravi podatek:    Resitev sistema (*RESSIS, *NUMSOLV)      **** ");
    PricakujNapako("ns_dolg", "*DIM 2\n*RESSIS QRGIVQRGIVQRGIVQRGIVQRGIV\n" + kTocke2D,
                   " **** Ni pravi podatek:    Resitev sistema (*RESSIS, *NUMSOLV)      **** ");
    PricakujNapako("rob", "*DIM 2\n*ROBSOLV L2N\n" + kTocke2D,
                   " **** Ni pravi podatek:    Resitev sistema (*ROBSOLV)      **** ");
    const std::string dim = " **** Ni pravi podatek:    Dimenzija mre\x9E"
                            "e (*DIM [1,2,3])      **** ";
    PricakujNapako("brez_dim", "*NUMSOLV CH\n" + kTocke2D, dim);
    PricakujNapako("dim4", "*DIM 4\n" + kTocke2D, dim);
    PricakujNapako("dim0", "*DIM 0\n" + kTocke2D, dim);
    const std::string brezX = " **** Ni podatka o pribliznih vrednostih neznank (X ...)      **** ";
    PricakujNapako("brez_x", "*DIM 2\nD T1 T2 2.8 1.0\n", brezX);
    // *DIM 1 after all the points: they were filed as coordinate points.
    PricakujNapako("dim_za_x", "X T1 100.0\nX T2 101.0\n*DIM 1\n", brezX);
    PricakujNapako("ktyp", "*DIM 2\n*KTYP DOUBLE\n" + kTocke2D + "Z T1 T2 90 0 0 2.0\n",
                   " **** Ni pravi podatek:    Nacin ocene refrakcijskega koeficienta (*KTYP)      **** ");
    PricakujNapako("ktyp_dolg", "*DIM 2\n*KTYP SINGLESINGLESINGLE\n" + kTocke2D + "Z T1 T2 90 0 0 2.0\n",
                   " **** Ni pravi podatek:    Nacin ocene refrakcijskega koeficienta (*KTYP)      **** ");
    PricakujNapako("s02", "*DIM 2\n*S02 NEKAJ\n" + kTocke2D,
                   " **** Ni pravi podatek:    Uporaba referencne variance (*S02)      *** ");

    // The checks run in their order: the unit before the dimension.
    const Konec k = PreberiVOtroku("vrstni_red", "*AU RAD\n*DIM 7\n");
    EXPECT_NE(k.izid.out.find("Enote Kotov"), std::string::npos);
    EXPECT_EQ(k.izid.out.find("Dimenzija"), std::string::npos);
    // The dimension message carries the single Windows-1250 byte of "ž".
    const Konec d = PreberiVOtroku("bajt", "*NUMSOLV CH\n");
    EXPECT_NE(d.report.find("mre\x9E" "e (*DIM"), std::string::npos);
    EXPECT_EQ(d.report.find("\xC5\xBE"), std::string::npos);

    // Without zenith distances the refraction type is not checked.
    const CProcSet p = Preberi("ktyp_brez_z", "*DIM 2\n*KTYP DOUBLE\n" + kTocke2D);
    EXPECT_TRUE(p.IfkRef);
    EXPECT_FALSE(p.IfEstkRef);
}

TEST(CProcSet, UnreadableValuesAreRefusedByName)
{
    PricakujNapako("itermax", "*DIM 2\n*ITERMAX 1O\n" + kTocke2D,
                   " **** Vrednost parametra obdelave ni celo stevilo [0 - 65535]:    *ITERMAX 1O  (vrstica 2)      *** ");
    PricakujNapako("dim_neg", "*DIM -2\n" + kTocke2D,
                   " **** Vrednost parametra obdelave ni celo stevilo [0 - 65535]:    *DIM -2  (vrstica 1)      *** ");
    PricakujNapako("pgtest", "*DIM 2\n\n*PGTEST 0,95\n" + kTocke2D,
                   " **** Vrednost parametra obdelave ni stevilo:    *PGTEST 0,95  (vrstica 3)      *** ");
    PricakujNapako("lpn", "*DIM 2\n*ROBSOLV LPN p\n" + kTocke2D,
                   " **** Vrednost parametra obdelave ni stevilo:    *ROBSOLV LPN p  (vrstica 2)      *** ");
    PricakujNapako("xvt", "*DIM 2\n*XVT 1e999999\n" + kTocke2D,
                   " **** Vrednost parametra obdelave ni stevilo:    *XVT 1e999999  (vrstica 2)      *** ");
    // The value stands on the keyword's line.
    PricakujNapako("manjka", "*DIM\n2\n" + kTocke2D,
                   " **** Manjka vrednost parametra obdelave:    *DIM  (vrstica 1)      *** ");
    PricakujNapako("manjka_lpn", "*DIM 2\n*ROBSOLV LPN\n" + kTocke2D,
                   " **** Manjka vrednost parametra obdelave:    *ROBSOLV LPN  (vrstica 2)      *** ");
    PricakujNapako("xv0", "*DIM 2\n*XV0\n" + kTocke2D,
                   " **** Ni pravi podatek:    A-priori hitrosti (*XV0) brez ocene hitrosti (*XVT epoha)      *** ");
    PricakujNapako("procent", "*DIM 2\n*PHIPEL 95\n" + kTocke2D,
                   " **** Ni pravi podatek:    Verjetnost *PHIPEL mora lezati med 0 in 1 (izkljucno)      *** ");

    Izid r = RunChild([] {
        CProcSet p;
        std::ostringstream report;
        p.ReadProcSet("/nonexistent/mreza.dat", report);
    });
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(" **** Datoteke s podatki ni mogoce odpreti:    /nonexistent/mreza.dat      *** "),
              std::string::npos);
}

TEST(CProcSet, OptionConflictsAreResolvedWithWarnings)
{
    const std::string pot =
        Datoteka("konflikti", "*DIM 2\n*XVT 2010.0\n*STR\n*OPT2\n*KTYP SINGLE\n*OBSRES\n*ITER 1\n"
                              "X T1 1 2 1\nX T2 3 4 0\n");
    Izid r = RunChild([&] {
        CProcSet p;
        std::ostringstream report;
        p.ReadProcSet(pot, report);
        std::cout << "STANJE " << p.IfkRef << p.IfEstkRef << p.GetifIter() << p.GetizrisSTR() << p.GetizrisOPT2()
                  << "\n";
    });
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string w1 = " #### Ocena koeficienta refrakcije ni mozna ob oceni vektorjev hitrosti      #### ";
    const std::string w2 =
        " #### Nastavljena analiza vpliva popravkov na neznanke - iteracijski postopek izkljucen      #### ";
    const std::string w3 =
        " #### Izpisa za S-transformacijo (SE) ni mozno narediti ob oceni vektorjev hitrosti      #### ";
    const std::string w4 =
        " #### Izpisa za optimizacijo 2. reda (SE) ni mozno narediti ob oceni vektorjev hitrosti      #### ";
    EXPECT_NE(r.out.find("\n\n" + w1 + "\n\n\n\n" + w2 + "\n\n\n\n" + w3 + "\n\n\n\n" + w4 + "\n\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("STANJE 00000"), std::string::npos);

    // Without velocities nothing is switched off and nothing is said.
    const std::string pot2 = Datoteka("brez_konflikta", "*DIM 2\n*STR\n*OPT2\n*KTYP SINGLE\n*ITER 1\n" + kTocke2D);
    Izid q = RunChild([&] {
        CProcSet p;
        std::ostringstream report;
        p.ReadProcSet(pot2, report);
        std::cout << "STANJE " << p.IfkRef << p.IfEstkRef << p.GetifIter() << p.GetizrisSTR() << p.GetizrisOPT2()
                  << "\n";
    });
    EXPECT_EQ(q.out.find("####"), std::string::npos);
    EXPECT_NE(q.out.find("STANJE 11111"), std::string::npos);
}

TEST(CProcSet, RecordCounts)
{
    const std::string pot = std::string(NIVEX_TEST_DATA) + "/procset/zapisi.dat";
    CProcSet p;
    std::ostringstream report;
    Izid r = RunChild([&] {
        p.ReadProcSet(pot, report);
        std::cout << "STEVILA " << p.GetNCrdA() << " " << p.GetNHA() << " " << p.GetNH() << " " << p.GetNCrd()
                  << " " << p.GetNDir() << " " << p.GetNAzi() << " " << p.GetNPara() << " " << p.GetNZen() << " "
                  << p.GetNVec() << " " << p.GetNDist2() << " " << p.GetNDist3() << " " << p.GetNHdif() << "\n";
    });
    ASSERT_EQ(r.status, 0) << r.out;
    // X 4 (one Xabc), H 1, C 2 (one continued), S 3 (one continued with a
    // name-led line), A 1, P 1, Z 2, V 1, D 2, L 1, h 2; nothing after *K,
    // no comment, no continuation line counted.
    EXPECT_NE(r.out.find("STEVILA 4 0 1 2 3 1 1 2 1 2 1 2\n"), std::string::npos) << r.out;
    // Only the unknown word Q draws the notice; continuation lines do not.
    EXPECT_NE(r.out.find(">>>> NEPOZNAN PARAMETER OBDELAVE -> Q  <<<<\n\n\n"), std::string::npos);
    EXPECT_NE(r.out.find(">>>> NEPOZNAN PARAMETER OBDELAVE -> *NEKAJ  <<<<\n\n\n"), std::string::npos);
    EXPECT_EQ(r.out.find("NEPOZNAN PARAMETER OBDELAVE -> 1"), std::string::npos);
    EXPECT_EQ(r.out.find("NEPOZNAN PARAMETER OBDELAVE -> T"), std::string::npos);
    EXPECT_EQ(r.out.find("NEPOZNAN PARAMETER OBDELAVE -> #"), std::string::npos);
    EXPECT_EQ(r.out.find("NEPOZNAN PARAMETER OBDELAVE -> **"), std::string::npos);

    // Levelling: X counted as heights when *DIM 1 stands first; GON angles
    // take one word, so the same words give other records.
    const CProcSet n = Preberi("nivelman", "*DIM 1\nX A 1.0\nX B 2.0\nX C 3.0\nh A B 1.0 0.5\nh B C\n 1.0 0.5\n"
                                           "H A 1.0 2.0\n");
    EXPECT_EQ(n.GetNHA(), 3u);
    EXPECT_EQ(n.GetNCrdA(), 0u);
    EXPECT_EQ(n.GetNHdif(), 2u);
    EXPECT_EQ(n.GetNH(), 1u);
    const CProcSet g = Preberi("gon", "*DIM 2\n*AU GON\n" + kTocke2D + "S T1 T2 100.0 0.3 A1 remark\n"
                                                                       "A T1 T2 50.0 1.0\n");
    EXPECT_EQ(g.GetNDir(), 1u);
    EXPECT_EQ(g.GetNAzi(), 1u);
    // X records before *DIM 2 are filed as coordinate points, which is right.
    const CProcSet x = Preberi("x_pred_dim2", kTocke2D + "*DIM 2\n");
    EXPECT_EQ(x.GetNCrdA(), 2u);
}

TEST(CProcSet, MalformedRecordsAndMisfiledPointsAreRefused)
{
    // Some X records before *DIM 1, some after: the reading pass would file
    // them all as heights.
    PricakujNapako("x_pred_dim1", "X T0 99.0\n*DIM 1\nX T1 100.0\nX T2 101.0\n",
                   " **** Zapis X (vrstica 1) stoji pred koncno nastavitvijo *DIM: *DIM mora stati pred prvim "
                   "zapisom X      *** ");
    PricakujNapako("dim_preklop", "*DIM 1\nX T1 100.0\n*DIM 2\nX T2 1 2\n",
                   " **** Zapis X (vrstica 2) stoji pred koncno nastavitvijo *DIM: *DIM mora stati pred prvim "
                   "zapisom X      *** ");
    PricakujNapako("dim_2_3", "*DIM 2\nX T1 1 2\nX T2 3 4\n*DIM 3\n",
                   " **** Zapis X (vrstica 2) stoji pred koncno nastavitvijo *DIM: *DIM mora stati pred prvim "
                   "zapisom X      *** ");
    PricakujNapako("s_v_1d", "*DIM 1\nX T1 100.0\nX T2 101.0\n\nD T1 T2 12.0 1.0\n",
                   " **** Zapis D (horizontalne dolzine) (vrstica 5) ne sodi v visinsko mrezo (*DIM 1: samo X, H, "
                   "h)      *** ");
    PricakujNapako("ni_stevilo", "*DIM 2\n" + kTocke2D + "D T1 T2 12.0 1,0\n",
                   " **** Zapis D (horizontalne dolzine) (vrstica 4): polje 2. stevila ni pravo stevilo -> 1,0 "
                   "(vrstica 4)      *** ");
    // A DMS angle takes whole degrees and minutes.
    PricakujNapako("dms", "*DIM 2\n" + kTocke2D + "S T1 T2 10.5 20 30 1.0\n",
                   " **** Zapis S (smeri) (vrstica 4): polje 1. stevila ni pravo stevilo -> 10.5 (vrstica 4)      *** ");
    // A record cut short by the next record, by *K and by the end of the file.
    PricakujNapako("kratek", "*DIM 2\n" + kTocke2D + "D T1 T2 12.0\nD T1 T2 12.0 1.0\n",
                   " **** Zapis D (horizontalne dolzine) (vrstica 4): polje 2. stevila ni pravo stevilo -> D "
                   "(vrstica 5)      *** ");
    PricakujNapako("kratek_k", "*DIM 2\n" + kTocke2D + "D T1 T2\n*K\n",
                   " **** Zapis D (horizontalne dolzine) (vrstica 4) je nepopoln: namesto polja stoji *K (vrstica "
                   "5)      *** ");
    PricakujNapako("kratek_eof", "*DIM 2\n" + kTocke2D + "D T1 T2 12.0",
                   " **** Zapis D (horizontalne dolzine) (vrstica 4) je nepopoln: datoteka se konca pred zadnjim "
                   "poljem      *** ");
    PricakujNapako("zastavica", "*DIM 2\n*XVT 2000\nX T1 1 2 0.5\nX T2 3 4 0\n",
                   " **** Zapis X (priblizne vrednosti) (vrstica 3): polje 3. stevila ni pravo stevilo -> 0.5 "
                   "(vrstica 3)      *** ");
}

namespace {
std::string Izpis(const std::string& tag, const std::string& text)
{
    CProcSet p = Preberi(tag, text);
    std::ostringstream s;
    p.PrintProcSet(s);
    return s.str();
}
}  // namespace

TEST(CProcSet, SettingsReport)
{
    const std::vector<std::string> pricakovano = {
        "DIMENZIJA GEODETSKE MREZE:",
        "--------------------------",
        "Mreza je 2 razsezna [RAVNINSKA]",
        "",
        "NUMERICNA RESITEV SISTEMA:",
        "--------------------------",
        "Resitev sistema je dolocena kot: ",
        "",
        "  Razcep matrike koeficientov s QR razcepom (Givensove rotacije)",
        "",
        "V obdelavi bodo uporabljene:  CELE MATRIKE!",
        "",
        "",
        "NACIN OCENE NEZNANK:",
        "--------------------",
        "Nacin ocene neznank je: ",
        "",
        "  Metoda najmanjsih kvadratov ([p*v*v])",
        "",
        "",
        "PODANE VERJETNOSTI STATISTIK:",
        "-----------------------------",
        "Stopnja zaupanja glob. testa (hi2) :     0.950",
        "Stopnja zaupanja pregleda opazovanj:     0.990",
        "Stopnja zaupanja skladnosti neznank:     0.950",
        "Stopnja zaupanja intervalov (zaup.):     0.950",
        "Stopnja zaupanja polosi h.elipsoida:     0.950",
        "",
        "",
        "IZPIS PODATKOV S-TRANSFORMACIJE:",
        "--------------------------------",
        "Izhodna datoteka za S-transformacijo SE NI izdelala!",
        "",
        "",
        "IZRIS PODATKOV IN REZULTATOV:",
        "-----------------------------",
        "Datoteke za izris z orodjem GMT SE NISO izdelale!",
        "",
        ""};
    EXPECT_EQ(Lines(Izpis("izpis_privzeto", "*DIM 2\n" + kTocke2D)), pricakovano);

    // Every optional section, in its place.
    const std::string vse = Izpis("izpis_vse", "*DIM 3\n*NUMSOLV SVD\n*SVDTHRES 1e-10\n*MATFULL 0\n*ROBSOLV DAN\n"
                                               "*PSKLAD 0.9\n*XVT 2014.25\n*XV0\n*KTYP SINGLE\n*UKRZ\n*R_UKRZ 6379000\n"
                                               "*CORKOT 0\n*OBSRES\n*STR\n*GMT\n*AU DEG\n"
                                               "X T1 1 2 3 0 0 0 1\nX T2 4 5 6 0 0 0 0\n"
                                               "S T1 T2 10.0 1.0 2014.0\n");
    const std::vector<std::string> l = Lines(vse);
    const std::vector<std::string> del = {
        "Mreza je 3 razsezna [PROSTORSKA]",
        "",
        "NUMERICNA RESITEV SISTEMA:",
        "--------------------------",
        "Resitev sistema je dolocena kot: ",
        "",
        "  Razcep matrike koeficientov s SVD razcepom (postopek NR3 (2007))",
        "  Nastavljen prag singularnosti: 1e-10",
        "",
        "V obdelavi bodo uporabljene:  OPTIMALNO HRANJENE MATRIKE!",
        "",
        "",
        "NACIN OCENE NEZNANK:",
        "--------------------",
        "Nacin ocene neznank je: ",
        "",
        "  Robustna ocena neznank ([ro(v)] -> ro = DAN)",
        "",
        "",
        "PODANE VERJETNOSTI STATISTIK:",
        "-----------------------------",
        "Stopnja zaupanja glob. testa (hi2) :     0.950",
        "Stopnja zaupanja pregleda opazovanj:     0.990",
        "Stopnja zaupanja skladnosti neznank:     0.900",
        "Stopnja zaupanja intervalov (zaup.):     0.950",
        "Stopnja zaupanja polosi h.elipsoida:     0.950",
        "",
        "",
        "OCENA VEKTORJEV HITROSTI:",
        "-------------------------",
        "A-priori vrednosti hitrosti SO podane!",
        "Referen\xE8na epoha koordinat         :   2014.25",
        "",
        "",
        "VPLIV UKRIVLJENOSTI ZEMLJE - ZENITNE RAZDALJE:",
        "----------------------------------------------",
        "Vpliv ukrivljenosti Zemlje se odpravi: R =     6379000.000",
        "",
        "",
        "KOTNA OPAZOVANJA:",
        "-----------------",
        "Enote kotnih opazovanj: DEG",
        "",
        "",
        "Pri sestavljenih kotih se korelacije NE UPOSTEVAJO!",
        "",
        "",
        "ANALIZA VPLIVA POGRESKOV V OPAZOVANJIH NA NEZNANKE",
        "--------------------------------------------------",
        "Numericne vrednosti opazovanj so podane samo s pogreski! UPOSTEVAJO!",
        "",
        "",
        "IZPIS PODATKOV S-TRANSFORMACIJE:",
        "--------------------------------",
        "Izhodna datoteka za S-transformacijo SE NI izdelala!",   // switched off by the velocities
        "",
        "",
        "IZRIS PODATKOV IN REZULTATOV:",
        "-----------------------------",
        "Datoteke za izris z orodjem GMT SO SE izdelale!",
        "",
        ""};
    ASSERT_GE(l.size(), del.size() + 2);
    EXPECT_EQ(std::vector<std::string>(l.begin() + 2, l.end()), del);
    EXPECT_EQ(vse.find("KOEFICIENT REFRAKCIJE"), std::string::npos);   // off with the velocities

    // Refraction section with each estimate type; STR switched on.
    const std::string r = Izpis("izpis_ref", "*DIM 2\n*KTYP STAT\n*K_REF 0.2\n*STR\n" + kTocke2D +
                                                 "Z T1 T2 90 0 0 2.0\n");
    EXPECT_NE(r.find("KOEFICIENT REFRAKCIJE:\n----------------------\nUpostevanje vpliva refrakcije: DA\n"
                     "Priblizni koeficient refrakcije:    0.200\nOcena popravka koeficienta refrakcije: STAT\n"
                     " -> Ena vrednost koeficienta za vsako stojiscno tocko zenitnih razdalj\n\n\n"
                     "KOTNA OPAZOVANJA:\n-----------------\nEnote kotnih opazovanj: DMS\n\n\n"
                     "IZPIS PODATKOV S-TRANSFORMACIJE:\n--------------------------------\n"
                     "Izhodna datoteka za S-transformacijo SE JE izdelala!\n"),
              std::string::npos)
        << r;
    EXPECT_NE(Izpis("izpis_single", "*DIM 2\n*KTYP SINGLE\n" + kTocke2D)
                  .find("SINGLE\n -> Ena vrednost koeficienta za celo mrezo\n\n\n"),
              std::string::npos);
    EXPECT_NE(Izpis("izpis_none", "*DIM 1\n*KTYP NONE\n*NUMSOLV NS\nX A 1\n")
                  .find("Mreza je 1 razsezna [VISINSKA]\n\nNUMERICNA RESITEV SISTEMA:\n--------------------------\n"
                        "Resitev sistema je dolocena kot: \n\n  Resitev sistema normalnih enacb (Gaussova elim. z "
                        "delnim pivotiranjem)\n"),
              std::string::npos);
    const std::string nr = Izpis("izpis_none2", "*DIM 2\n*KTYP NONE\n" + kTocke2D);
    EXPECT_NE(nr.find("NONE\n -> Brez ocene popravka koeficienta refrakcije\n\n\n"), std::string::npos);
    // The method lines of the other methods.
    EXPECT_NE(Izpis("lu", "*DIM 2\n*NUMSOLV LU\n" + kTocke2D)
                  .find("  Razcep matrike sistema normalnih enacb z LU razcepom\n\n"),
              std::string::npos);
    EXPECT_NE(Izpis("ch", "*DIM 2\n*NUMSOLV CH\n" + kTocke2D)
                  .find("  Razcep matrike sistema normalnih enacb z razcepom Choleskega\n\n"),
              std::string::npos);
    EXPECT_NE(Izpis("qr", "*DIM 2\n*NUMSOLV QR\n" + kTocke2D)
                  .find("  Razcep matrike koeficientov s QR razcepom (Housholdnerjeva zrcaljenja)\n\n"),
              std::string::npos);
    EXPECT_NE(Izpis("qrmgs", "*DIM 2\n*NUMSOLV QRMGS\n" + kTocke2D)
                  .find("  Razcep matrike koeficientov s QR razcepom (modificiran Gramm-Schmidt)\n\n"),
              std::string::npos);
    // Zenith distances alone give the angle unit, not the correlation line.
    const std::string z = Izpis("izpis_zen", "*DIM 2\n" + kTocke2D + "Z T1 T2 90 0 0 2.0\n");
    EXPECT_NE(z.find("Enote kotnih opazovanj: DMS\n\n\n"), std::string::npos);
    EXPECT_EQ(z.find("korelacije"), std::string::npos);
    EXPECT_NE(Izpis("izpis_s", "*DIM 2\n" + kTocke2D + "S T1 T2 0 0 0 1.0\n")
                  .find("Pri sestavljenih kotih se korelacije UPOSTEVAJO!\n\n\n"),
              std::string::npos);
    // Velocities without a-priori values.
    EXPECT_NE(Izpis("izpis_niso", "*DIM 2\n*XVT 1999\nX T1 1 2 1\nX T2 3 4 1\n")
                  .find("A-priori vrednosti hitrosti NISO podane!\nReferen\xE8na epoha koordinat         :   1999.00\n"),
              std::string::npos);

    // With *IZPSET 0 nothing is written; the refraction estimate still stands.
    CProcSet tiho = Preberi("izpis_tiho", "*DIM 2\n*IZPSET 0\n*KTYP SINGLE\n" + kTocke2D);
    std::ostringstream s;
    tiho.PrintProcSet(s);
    EXPECT_EQ(s.str(), "");
    EXPECT_TRUE(tiho.IfkRef);
    EXPECT_TRUE(tiho.IfEstkRef);
}
