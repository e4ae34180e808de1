// The tracing elements drawn as themselves rather than through a drawing: what the digitize
// tool shows of the points and snakes being placed, and what the type editors preview. Every
// element is drawn from the coordinates loaded into its type.
#pragma once

#include <vector>

#include "graphics/canvas.h"
#include "graphics/drawing_style.h"

namespace lumacet {

class TXRayElement;
class TDigSnake;

// A point: a circle of 4 screen pixels' radius with a black outline, yellow for a derived
// point and cyan otherwise, and its name beside it; an owned point the cyan circle alone.
// A snake: the spline through its valid points, red once placed and yellow until then, with
// the snake marker on its first point. Invalid points and other elements draw nothing.
void DrawElement(TCanvas& canvas, TXRayElement& element, const TMarkerSettings& snakeMarker);

// The spline a snake is drawn as: its valid points, a point lying exactly on the one before
// it left out.
std::vector<TFloatPoint> SnakeOutline(const TDigSnake& snake);

}  // namespace lumacet
