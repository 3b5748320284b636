#pragma once
#include "platform/clipboard.h"

namespace zt {

// The desktop's clipboard. The private rendering travels byte for byte under
// its own MIME type; plain text crosses as Unicode, and characters of other
// programs' text that the program's code page lacks become "?".
class QtClipboard : public Clipboard {
public:
    static const char* const kPrivateMimeType;

    void SetData(std::string_view privateText, std::string_view plainText) override;
    bool HasText() const override;
    std::string PrivateText() const override;
    std::string PlainText() const override;
};

}  // namespace zt
