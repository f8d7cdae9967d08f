#include "data/grid_formats.h"
#include "data/login_state.h"

#include <gtest/gtest.h>

TEST(GridFormats, LaterMatchesWinInEachGridKind)
{
    using K = GridFormats::Kind;
    const struct {
        const char* field;
        int gridKind;
        K kind;
    } cases[] = {
        // goods and parts lines: "_price", then "totalprice", then "amount"
        {"F_price", 1, K::Price},
        {"F_totalprice", 1, K::Money},
        {"F_TotalPrice", 1, K::Money},
        {"F_amount", 1, K::Quantity},
        {"F_amount_price", 1, K::Quantity}, // both match: the later test wins
        {"F_price1", 1, K::Price},
        {"F_name", 1, K::None},
        // charges and repairs: anything with "price"
        {"F_HFprice1", 2, K::Money},
        {"F_amount", 2, K::None},
        // catalogue and stock: "price", then "amount", then "totalprice"
        {"F_price1", 3, K::Money},
        {"F_amount", 3, K::Quantity},
        {"F_totalprice", 3, K::Money},
        {"F_amountprice", 3, K::Quantity}, // "price" then "amount": quantity wins
        {"F_price", 4, K::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GridFormats::kindForField(c.field, c.gridKind), c.kind)
            << c.field << " in kind " << c.gridKind;
}

TEST(GridFormats, KindsNameTheLoginFormats)
{
    LoginState login;
    login.moneyFormat = ",0.00";
    login.quantityFormat = "0.###";
    login.priceFormat = ",0.0";
    EXPECT_EQ(GridFormats::format(login, 1), ",0.00");
    EXPECT_EQ(GridFormats::format(login, 2), "0.###");
    EXPECT_EQ(GridFormats::format(login, 3), ",0.0");
    EXPECT_EQ(GridFormats::format(login, 0), QString());
    EXPECT_EQ(GridFormats::format(login, 4), QString());
}
