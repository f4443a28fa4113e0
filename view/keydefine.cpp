// Key assignments as the key page reads them: four values per mouse key from profile 0's key matrix.
#include "myqquickview.h"
#include "viewlog.h"

QVariantList myQQuickView::getKeydefine(QVariant matrixId)
{
    const int key = matrixId.toInt();
    if (key < 0 || key >= m_model.layout.keyCount) {
        qCDebug(lcView) << "no mouse key" << matrixId;
        return {};
    }
    const QVariantList &matrix = matrix_fw[0];
    if (matrix.size() < (key + 1) * m_model.layout.keyEntrySize) {
        qCWarning(lcView) << "the key matrix holds" << matrix.size() << "values; key" << key
                          << "is not there";
        return {};
    }
    return matrix.mid(key * m_model.layout.keyEntrySize, m_model.layout.keyEntrySize);
}
