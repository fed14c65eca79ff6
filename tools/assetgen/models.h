// Builders of the model files' frames.
#pragma once
#include <functional>
#include <vector>

#include "mesh.h"

std::vector<Mesh> BuildBusBody();              // karosa.shd: 32 frames
std::vector<Mesh> BuildBusInterior();          // karosaint.shd
std::vector<Mesh> BuildBusWheels();            // karosakol.shd: 32 frames
std::vector<Mesh> BuildArticulatedBody();      // ikarus.shd: 32 frames
std::vector<Mesh> BuildArticulatedInterior();  // ikarusint.shd: interior and wheels, 32 frames
std::vector<Mesh> BuildTrolleybus();           // elektr.shd
std::vector<Mesh> BuildCar();                  // Skoda.shd
std::vector<Mesh> BuildArrow();                // arrow.shd
std::vector<Mesh> BuildBarrier();              // zabrana1.shd
std::vector<Mesh> BuildWall();                 // zabrana2.shd
