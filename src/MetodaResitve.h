// MetodaResitve: the one table of the solution methods of "*NUMSOLV".
//
// Every place that asks what a method is reads this table: the settings
// check and report (the word and its line), the solution (its decomposition,
// the inverse of the small datum matrix, the word of the trace and of the
// messages) and the model (whether the datum rows of a free network are
// formed at all).
//
// Facts a caller must know:
// - "NS" has no decomposition object: it inverts the normal matrix by
//   Gauss-Jordan (razcep is nullptr).
// - Only the SVD is a pseudo-inverse: it takes the full design matrix,
//   bridges the defect of a free network by itself (no inner-constraint rows
//   are added to the model) and its rank gives the degrees of freedom.  Every
//   other method runs, in the program, as the sparse L D L' of the normal
//   matrix; the dense decompositions remain its reference.
#ifndef NIVEX_SRC_METODARESITVE_H
#define NIVEX_SRC_METODARESITVE_H

#include <memory>
#include <string>

#include "funkcije/Besedila.h"
#include "matrika/razcepmetoda.h"

struct MetodaResitve {
    const char* ime;          // the word of "*NUMSOLV" / "*RESSIS"
    Besedilo opis;            // its line in the settings report
    const char* oznaka;       // the word of the trace and of "Ressist:" in the messages
    char inverzM;             // inverse of the datum matrix M: 'G' Gauss-Jordan, 'L' LU, 'C' Cholesky
    bool psevdoinverz;        // the SVD: full matrices, no inner-constraint rows, rank from the method
    // The method's decomposition (nullptr for "NS"); prag is the SVD threshold.
    std::unique_ptr<razcepMetoda<real>> (*razcep)(const std::string& ime, real prag);
};

// The method of that word, nullptr for a word that names none.
const MetodaResitve* NajdiMetodo(const std::string& ime);

// The line of the settings report that names the solution the program runs
// for a method (the method asked for is named on the line before it).
const char* IzvedenaResitev(const MetodaResitve& metoda);

#endif
