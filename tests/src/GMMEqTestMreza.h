// A whole network for the model-frame and equation tests: the data file is
// read as the program reads it (settings, datum, the record reader), then the
// model counts and numbers the unknowns and the four linear builders write
// their rows.
#ifndef NIVEX_TESTS_SRC_GMMEQTESTMREZA_H
#define NIVEX_TESTS_SRC_GMMEQTESTMREZA_H

#include <iostream>
#include <sstream>
#include <string>

#include "TestUtil.h"
#include "src/CGDatum.h"
#include "src/CGMM.h"
#include "src/CGMMEqCrd.h"
#include "src/CGMMEqH.h"
#include "src/CGMMEqHdif.h"
#include "src/CGMMEqVec.h"
#include "src/CGetObs.h"
#include "src/CProcSet.h"
#include "src/CTerObsAngl.h"
#include "src/CTerObsCrd.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsDir.h"
#include "src/CTerObsDist.h"
#include "src/CTerObsH.h"
#include "src/CTerObsHA.h"
#include "src/CTerObsHdif.h"
#include "src/CTerObsPara.h"
#include "src/CTerObsVec.h"

class GMMEqTestMreza {
public:
    // `besedilo`: the data file without its "*K" line.
    explicit GMMEqTestMreza(const std::string& besedilo)
        : TOAngl(TODir),
          GMM(procset, gdatum, TOAngl, TOZen, TOCrd, TOCrdA, TODist2, TODist3, TOH, TOHA, TOHdif, TOVec, TOAzi,
              TOPara),
          EqH(procset, TOH, TOHA, TOCrdA, GMM),
          EqHdif(procset, TOHdif, TOHA, TOCrdA, GMM),
          EqCrd(procset, TOCrd, TOCrdA, GMM),
          EqVec(procset, TOVec, TOCrdA, GMM)
    {
        pot = TempDir("gmmeq") + "/mreza.dat";
        WriteFile(pot, besedilo + "\n*K\n");
        std::ostringstream vhod;
        procset.ReadProcSet(pot, vhod);
        gdatum.ReadGDatum(pot, vhod, 0);
        CGetObs bralec;
        bralec.SetCTerObs(procset, TODir, TOZen, TOCrd, TOCrdA, TODist2, TODist3, TOH, TOHA, TOHdif, TOVec, TOAzi,
                          TOPara);
        bralec.ReadCTerObs(procset, TODir, TOAngl, TOZen, TOCrd, TOCrdA, TODist2, TODist3, TOH, TOHA, TOHdif,
                           TOVec, TOAzi, TOPara, pot);
    }

    // Counts, sigma0, numbering and sizes; the data summary goes to `povzetek`.
    void Model()
    {
        GMM.DataSum(povzetek);
        GMM.DataSet();
    }

    // One iteration's rows of the four linear kinds in the program's order.
    void Enacbe()
    {
        GMM.GMMResetIndex();
        EqH.SetGMMEq();
        EqHdif.SetGMMEq();
        EqCrd.SetGMMEq();
        EqVec.SetGMMEq();
    }

    // Their equation print.
    std::string Izpis()
    {
        std::ostringstream s;
        EqH.PrintGMMEq(s);
        EqHdif.PrintGMMEq(s);
        EqCrd.PrintGMMEq(s);
        EqVec.PrintGMMEq(s);
        return s.str();
    }

    // Console output of f.
    template <typename F>
    static std::string Konzola(F f)
    {
        std::ostringstream s;
        std::streambuf* prej = std::cout.rdbuf(s.rdbuf());
        f();
        std::cout.rdbuf(prej);
        return s.str();
    }

    std::string pot;
    std::ostringstream povzetek;
    CProcSet procset;
    CGDatum gdatum;
    CTerObsDir TODir, TOZen, TOAzi;
    CTerObsAngl TOAngl;
    CTerObsCrd TOCrd;
    CTerObsCrdA TOCrdA;
    CTerObsDist TODist2, TODist3;
    CTerObsH TOH;
    CTerObsHA TOHA;
    CTerObsHdif TOHdif;
    CTerObsVec TOVec;
    CTerObsPara TOPara;
    CGMM GMM;
    CGMMEqH EqH;
    CGMMEqHdif EqHdif;
    CGMMEqCrd EqCrd;
    CGMMEqVec EqVec;
};

#endif
