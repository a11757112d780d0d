#include "file/page_cipher.h"

#include "file/rc4.h"

namespace jet::detail {

namespace {

class JetPageCipher final : public PageCipher {
public:
    explicit JetPageCipher(std::uint32_t key) : key_(key) {}
    void decode(std::span<std::uint8_t> page, std::uint32_t number) const override {
        applyPageEncoding(page, number, key_);
    }
    void encode(std::span<std::uint8_t> page, std::uint32_t number) const override {
        applyPageEncoding(page, number, key_);
    }

private:
    std::uint32_t key_;
};

} // namespace

void applyPageEncoding(std::span<std::uint8_t> page, std::uint32_t number, std::uint32_t key) {
    rc4Apply(pageKeyBytes(key, number), page);
}

std::shared_ptr<const PageCipher> jetPageCipher(std::uint32_t key) {
    return std::make_shared<JetPageCipher>(key);
}

} // namespace jet::detail
