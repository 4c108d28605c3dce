#include "decimal_character.h"

#include <langinfo.h>
#include <locale.h>

char UserDecimalCharacter() {
    char decimal = ',';
    // The user's locale as the environment names it, without switching the
    // process's own.
    locale_t user = ::newlocale(LC_NUMERIC_MASK, "", locale_t{});
    if (user != locale_t{}) {
        const char* radix = ::nl_langinfo_l(RADIXCHAR, user);
        if (radix != nullptr && radix[0] != '\0') decimal = radix[0];
        ::freelocale(user);
    }
    return decimal;
}

namespace {

char& Decimal() {
    static char decimal = UserDecimalCharacter();
    return decimal;
}

}  // namespace

char DecimalCharacter() { return Decimal(); }

void SetDecimalCharacter(char decimal) { Decimal() = decimal; }
