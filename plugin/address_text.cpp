#include "plugin/address_text.h"

void AddressText(const BYTE address[6], char text[addressTextSize]) {
    static const char hexDigits[] = "0123456789ABCDEF";
    char* out = text;
    for (int i = 5; i >= 0; --i) {
        *out++ = hexDigits[address[i] >> 4];
        *out++ = hexDigits[address[i] & 0x0F];
        *out++ = i > 0 ? ':' : '\0';
    }
}
