// Native documents from outside: any bytes are either read or refused, and
// a document that was read writes bytes that read back to the same bytes.
#include "model/mirel_data.h"
#include "persist/native_file.h"
#include "platform/prompt.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static mirel::ScriptedPrompt prompt;   // answers every question with its default
    prompt.SetRecording(false);
    mirel::ScopedPrompt scope(prompt);

    CMirelData doc;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!mirel::ReadNativeBytes(bytes, doc, {}, false).ok())
        return 0;
    const std::string first = mirel::NativeBytes(doc);
    CMirelData again;
    if (!mirel::ReadNativeBytes(first, again, doc.filePassword, false).ok())
        std::abort();   // what we wrote must read back
    if (mirel::NativeBytes(again) != first)
        std::abort();   // and write the same bytes again
    return 0;
}
