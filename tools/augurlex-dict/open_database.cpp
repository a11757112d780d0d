#include "augurlex-dict/open_database.h"

#include "augurlex-dict/arguments.h"

#include <charconv>

namespace dict {

jet::Database openDatabase(const OpenRequest& request) {
    jet::OpenOptions options;
    options.jet3CodePage = request.jet3CodePage;
    return withProgramPasswords(request.password, [&](std::string_view password) {
        return jet::Database::open(request.path, password, options);
    });
}

OpenRequest openRequest(const std::string& path, const Arguments& args) {
    OpenRequest request{path, args.option("password"), 0};
    if (auto text = args.option("code-page")) {
        unsigned value = 0;
        auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
        if (error != std::errc() || end != text->data() + text->size() || value == 0 ||
            value > 65535)
            throw UsageError("--code-page takes a Windows code page number, such as 936");
        request.jet3CodePage = static_cast<std::uint16_t>(value);
    }
    return request;
}

} // namespace dict
