#pragma once

#include <QPixmap>
#include <QString>

class QApplication;

namespace lumora {

// The skin's folder under the program's directory.
inline const QString kSkinFolder = QStringLiteral("Resource/skin");
inline const QString kSkinStyleSheet = QStringLiteral("skin.qss");
// In the style sheet, stands for the skin folder in picture addresses.
inline const QString kSkinFolderMark = QStringLiteral("@SKIN@");
// Dynamic property that marks the widgets the style sheet paints: every widget but those
// whose "tag" property is 99.
inline constexpr char kSkinnedProperty[] = "skinned";
inline constexpr char kTagProperty[] = "tag";

// Takes the skin from dir: its pictures for skinPicture, its style sheet for the application,
// and keeps widgets tagged 99 out of the sheet's reach. Answers whether the sheet was read;
// without it the application keeps its own look.
bool loadSkin(QApplication& app, const QString& dir);

// The skin folder loadSkin was given (empty before).
QString skinFolder();

// The picture name + ".png" from the skin folder; a null pixmap when it is missing. On screens
// of a higher pixel density (the application's device pixel ratio, or the one given) it is the
// twice-as-dense "name@2x.png", shown at the same size.
QPixmap skinPicture(const QString& name);
QPixmap skinPicture(const QString& name, qreal devicePixelRatio);

} // namespace lumora
