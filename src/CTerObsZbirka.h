// CTerObsZbirka: the record sets of one run, owned in one place.
//
// The driver owns one collection; the reader fills it, and the model, the
// datum builders and the analyses receive it instead of a reference per set.
// A set is reached by its member name or by its row of the table of record
// kinds (TerObsVrste), and the point list of the network by Tocke().
#ifndef NIVEX_SRC_CTEROBSZBIRKA_H
#define NIVEX_SRC_CTEROBSZBIRKA_H

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
#include "src/FBranje.h"
#include "src/FKovBloki.h"

class CTerObsZbirka {
public:
    CTerObsZbirka() : TOAngl(TODir), TOZen(kTOZen), TOAzi(kTOAzi), TODist3(kTODist3) {}
    CTerObsZbirka(const CTerObsZbirka&) = delete;
    CTerObsZbirka& operator=(const CTerObsZbirka&) = delete;

    // Every observation set but the directions themselves (they enter the
    // model through the composed angles) gets the mean deviation of the
    // records that take part.
    void CalcRefStDApr()
    {
        for (unsigned s = 0; s < kTOSetov; ++s)
            if (kTerObsVrste[s].vrednosti != TerObsVrednosti::Tocka && s != kTODir)
                Set(static_cast<TerObsSet>(s)).CalcRefStDApr();
    }

    // The set of a row of the table.
    CTerObs& Set(TerObsSet s);
    const CTerObs& Set(TerObsSet s) const;
    // The point list of a network of dimension dim: TOHA (1) or TOCrdA.
    CTerObsTocke& Tocke(unsigned short dim) { return dim == 1 ? static_cast<CTerObsTocke&>(TOHA) : TOCrdA; }
    const CTerObsTocke& Tocke(unsigned short dim) const
    {
        return dim == 1 ? static_cast<const CTerObsTocke&>(TOHA) : TOCrdA;
    }

    CTerObsCrdA TOCrdA;
    CTerObsHA TOHA;
    CTerObsH TOH;
    CTerObsCrd TOCrd;
    CTerObsVec TOVec;
    CTerObsDir TODir;
    CTerObsAngl TOAngl;
    CTerObsDir TOZen;
    CTerObsDir TOAzi;
    CTerObsPara TOPara;
    CTerObsDist TODist2;
    CTerObsDist TODist3;
    CTerObsHdif TOHdif;
    // Covariance blocks of the data file (Q lines), in file order.
    std::vector<KovBlokZapisov> kovBloki;
    // The encoding of the data file the names were read from (those of the
    // datum lines as well): the writers of UTF-8 files decode the names by it.
    Kodiranje kodiranje = Kodiranje::Windows1250;
};

#endif
