#include "Errors.h"

namespace orv {

QString errorText(const std::exception_ptr& error) {
    if (!error)
        return {};
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what()).trimmed();
    } catch (...) {
        return QStringLiteral("An unknown error occurred.");
    }
}

} // namespace orv
