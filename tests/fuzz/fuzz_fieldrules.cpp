// Any text typed into any validated field, from the factory defaults: the field shows what is stored, what is
// stored always encodes, and passing the shown text through again changes nothing.
#include "fuzzcheck.h"
#include "params/codec.h"
#include "params/defaults.h"
#include "params/fieldrules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QStringList fields = fieldrules::fieldNames();
    if (size < 1 || fields.isEmpty())
        return 0;
    const QString field = fields[data[0] % fields.size()];
    ParameterStore store;
    loadDefaults(store);
    const fieldrules::Outcome outcome = fieldrules::validate(
        field, QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)), store.params);
    FUZZ_EXPECT(outcome.text == fieldrules::display(field, store.params));
    FUZZ_EXPECT(outcome.warning.isEmpty() == outcome.warningTitle.isEmpty());
    FUZZ_EXPECT(UpdateEEPROM(store.params, store.image).ok);
    // A throttle percent re-derives its count every time, by design. (A field without its rule crashes here.)
    if (fieldrules::find(field)->unit != QLatin1String("%")) {
        ParameterSet again = store.params;
        const fieldrules::Outcome second = fieldrules::validate(field, outcome.text, again);
        FUZZ_EXPECT(second.text == outcome.text && second.warning.isEmpty() && again == store.params);
    }
    return 0;
}
