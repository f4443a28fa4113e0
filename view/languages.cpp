// The scene's languages: the menu, the general strings with the message table, the model's key names.
#include "lang/languagefiles.h"
#include "myqquickview.h"

QVariantMap myQQuickView::chkLanguages()
{
    return LanguageFiles::available();
}

QStringList myQQuickView::getGlobalStrings(const QString &langCode)
{
    return LanguageFiles::globalStrings(langCode, msgTable);
}

QStringList myQQuickView::vesk_getProductLayoutStrings(const QString &langCode)
{
    return LanguageFiles::layoutStrings(langCode, m_model.product.layoutStringsGroup,
                                        m_model.layout.keyCount);
}
