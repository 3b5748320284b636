#pragma once
#include <string>
#include <string_view>

namespace zt {

// The system clipboard in the program's two renderings: the private one
// that carries cell entries and attributes (registered as "ZTB32D"), and
// plain text of the displayed values for other programs.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's contents with both renderings.
    virtual void SetData(std::string_view privateText, std::string_view plainText) = 0;
    // True when either rendering is there (what makes Paste possible).
    virtual bool HasText() const = 0;
    // The private rendering; empty when the clipboard holds none.
    virtual std::string PrivateText() const = 0;
    // Plain text, from this program or another; empty when there is none.
    virtual std::string PlainText() const = 0;
};

// A clipboard of this process only.
class MemoryClipboard : public Clipboard {
public:
    void SetData(std::string_view privateText, std::string_view plainText) override
    {
        private_ = privateText;
        plain_ = plainText;
    }
    bool HasText() const override { return !private_.empty() || !plain_.empty(); }
    std::string PrivateText() const override { return private_; }
    std::string PlainText() const override { return plain_; }

private:
    std::string private_;
    std::string plain_;
};

}  // namespace zt
