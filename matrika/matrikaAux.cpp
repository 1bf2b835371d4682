#include "matrika/matrikaAux.h"

std::string NapakaOperatorja(const std::string& op, Besedilo sporocilo)
{
    return NapakaFunkcije(op, sporocilo, Besedilo::OkvirOperator);
}

[[noreturn]] void matrikaError(const std::string& message, const std::string& file, long line)
{
    KoncnaNapaka(NapakaOkvir("\n" + message + "\n\n", file, line));
}

[[noreturn]] void matrikaError(const std::string& message, const std::string& file, long line,
                               long index, long limit)
{
    std::ostringstream s;
    s << "\n" << message << std::setw(5) << index << " -> ind = [ 0 , " << limit << " ]" << "\n\n";
    KoncnaNapaka(NapakaOkvir(s.str(), file, line));
}

[[noreturn]] void matrikaError(const std::string& message, const std::string& file, long line,
                               long rowsA, long colsA, long rowsB, long colsB)
{
    std::ostringstream s;
    s << "\n" << message << "A [ " << std::setw(5) << rowsA << " , " << std::setw(5) << colsA << " ]"
      << "\n" << std::string(26, ' ') << "B [ " << std::setw(5) << rowsB << " , " << std::setw(5) << colsB
      << " ]" << "\n\n";
    KoncnaNapaka(NapakaOkvir(s.str(), file, line));
}
