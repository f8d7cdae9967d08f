#include "data/grid_formats.h"

#include "data/login_state.h"

#include <utility>

namespace GridFormats {

QString format(const LoginState& login, int kind)
{
    switch (kind) {
    case Money:
        return login.moneyFormat;
    case Quantity:
        return login.quantityFormat;
    case Price:
        return login.priceFormat;
    default:
        return {};
    }
}

Kind kindForField(const QString& fieldName, int gridKind)
{
    using Rule = std::pair<const char*, Kind>;
    static const Rule goodsLines[] = {{"_price", Price}, {"totalprice", Money}, {"amount", Quantity}};
    static const Rule charges[] = {{"price", Money}};
    static const Rule catalogue[] = {{"price", Money}, {"amount", Quantity}, {"totalprice", Money}};

    const Rule* begin = nullptr;
    const Rule* end = nullptr;
    switch (gridKind) {
    case 1:
        begin = std::begin(goodsLines), end = std::end(goodsLines);
        break;
    case 2:
        begin = std::begin(charges), end = std::end(charges);
        break;
    case 3:
        begin = std::begin(catalogue), end = std::end(catalogue);
        break;
    default:
        return None;
    }
    const QString name = fieldName.toLower();
    Kind kind = None;
    for (const Rule* rule = begin; rule != end; ++rule) {
        if (name.contains(QLatin1String(rule->first)))
            kind = rule->second;
    }
    return kind;
}

} // namespace GridFormats
