#pragma once

#include "ArtCanvas.h"

// Procedural surface materials, as functions of editor coordinates.
namespace orv::art {

Rgb walnutShade(int x, int y);  // the cabinet's veneer, grain running across
Rgb plateShade(int x, int y);   // charcoal control plates, finely brushed
Rgb stripShade(int x, int y);   // the darker panel strip along the bottom edge
Rgb grilleShade(int x, int y);  // woven speaker-grille cloth

}  // namespace orv::art
