// Key assignments as the key page reads them: four values per mouse key from profile 0's key matrix.
#include "myqquickview.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcView)

namespace {
constexpr int MatrixKeyCount = 16;
constexpr int KeyCodeSize = 4; // type, then three parameters
} // namespace

QVariantList myQQuickView::getKeydefine(QVariant matrixId)
{
    const int key = matrixId.toInt();
    if (key < 0 || key >= MatrixKeyCount) {
        qCDebug(lcView) << "no mouse key" << matrixId;
        return {};
    }
    const QVariantList &matrix = matrix_fw[0];
    if (matrix.size() < (key + 1) * KeyCodeSize) {
        qCWarning(lcView) << "the key matrix holds" << matrix.size() << "values; key" << key
                          << "is not there";
        return {};
    }
    return matrix.mid(key * KeyCodeSize, KeyCodeSize);
}
