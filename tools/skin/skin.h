#pragma once

// The picture groups of the skin. Each adds its pictures, by path below the skin folder, to the list.

#include "paint.h"

void addFramePictures(PictureList &out);  // background, frame/
void addPagePictures(PictureList &out);   // list_center/
void addMenuPictures(PictureList &out);   // list_up/, list_dn/, list_pf/, list_fn/
void addCommonPictures(PictureList &out); // common/ widgets
void addToolIcons(PictureList &out);      // common/ tool icons
void addModelPictures(PictureList &out);  // model_ms/
void addGunPictures(PictureList &out);    // gun/

// The pieces of the window's decorations (frame/deco*), each placed at its rectangle's top left.
const std::vector<paint::Piece> &decorationPieces();

// Drawing pieces that more than one group uses.
namespace piece {
// The product emblem (no words): an angular V with a core, filling `box`.
QPainterPath emblem(const QRectF &box);
// Function icons of the left menu, drawn in `ink` inside `box`.
void fnIcon(QPainter &p, int function, const QRectF &box, const QColor &ink);
} // namespace piece
