// The shipped plane, spatial and mixed networks adjusted in process: the
// coordinates left in the point list after the last iteration against the
// independent adjustment of the example generator.  CGMMSolPrimeri compares
// the printed coordinates (four decimals) of three of them; this adds the GON
// example and the full-precision values.
#include <gtest/gtest.h>

#include "IzravnavaUtil.h"

TEST(NelinPrimeri, AdjustedCoordinatesAgreeWithTheIndependentAdjustment)
{
    const std::pair<std::string, int> primeri[] = {
        {"ravninska_dms", 2}, {"ravninska_gon", 2}, {"prostorska", 3}, {"mesana", 2}};
    for (const auto& [primer, dim] : primeri) {
        SCOPED_TRACE(primer);
        const auto ref = NeodvisnaIzravnava(primer, dim);
        const Izravnava iz = Izravnaj(Primer(primer + ".dat"));
        ASSERT_EQ(iz.tocke.size(), ref.size());
        for (const auto& [ime, x] : ref) {
            ASSERT_TRUE(iz.tocke.count(ime)) << ime;
            ASSERT_EQ(iz.tocke.at(ime).size(), x.size());
            // The reference is rounded to 0.01 mm; the two adjustments agree to that.
            for (std::size_t k = 0; k < x.size(); ++k)
                EXPECT_NEAR(iz.tocke.at(ime)[k], x[k], 1e-5L) << ime << " " << k;
        }
    }
}
