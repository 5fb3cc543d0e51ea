#include "bluetooth/entry_name.h"

namespace {

// Appends to a wide text of fixed size; what does not fit is dropped and
// the text stays terminated.
struct WideWriter {
    WCHAR* text;
    int size;
    int length;
};

void Put(WideWriter* writer, WCHAR unit) {
    if (writer->length + 1 >= writer->size) return;
    writer->text[writer->length++] = unit;
    writer->text[writer->length] = 0;
}

void PutAscii(WideWriter* writer, const char* text) {
    for (; *text != '\0'; ++text) Put(writer, static_cast<WCHAR>(*text));
}

void PutTwoDigits(WideWriter* writer, int number) {
    unsigned value = static_cast<unsigned>(number);
    if (number < 0) {
        Put(writer, '-');
        value = 0u - value;
    }
    char digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    if (count < 2) digits[count++] = '0';
    while (count > 0) Put(writer, static_cast<WCHAR>(digits[--count]));
}

}  // namespace

void FormatEntryName(WCHAR name[entryNameSize], char marker, int number, const WCHAR* label) {
    WideWriter writer = {name, entryNameSize, 0};
    name[0] = 0;
    Put(&writer, '[');
    Put(&writer, static_cast<WCHAR>(marker));
    PutTwoDigits(&writer, number);
    PutAscii(&writer, "] ");
    for (int i = 0; i < maxLabelLength && label[i] != 0; ++i) Put(&writer, label[i]);
}
