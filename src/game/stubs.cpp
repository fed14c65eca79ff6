// Placeholder bodies until the game simulation lands; this file is deleted then.
#include "game/game_world.h"
#include "game/random.h"
#include "game/world_draw.h"

void gameSrand(uint32_t) {}
int32_t gameRand() { return 0; }
float randomBetween(float lo, float) { return lo; }
void GameWorld::clearWorld() { busCount = selectedBus = obstacleCount = 0; trafficPhase = -200.0f; }
void GameWorld::addBus(Vector3, float, float, int32_t) {}
void GameWorld::addObstacle(Vector3, float, int32_t) {}
void GameWorld::placeBus(int32_t, int32_t, int32_t, int32_t) {}
void GameWorld::placeBarrier(int32_t, int32_t) {}
void GameWorld::addBorderOpenBottom() {}
void GameWorld::addBorderWithExit() {}
void GameWorld::setUpLevel(int32_t) { clearWorld(); }
void GameWorld::updateWorld() {}
void GameWorld::accelerateSelected() {}
void GameWorld::brakeSelected() {}
void GameWorld::selectNextBus() {}
void GameWorld::moveBus(int32_t) {}
bool GameWorld::busHitsSomething(Bus&) { return false; }
bool GameWorld::busHitsBus(const Bus&, const Bus&) { return false; }
bool GameWorld::pointInBus(Vector3, const Bus&) { return false; }
bool GameWorld::pointsInObstacle(Vector3, Vector3, const Obstacle&) { return false; }
Vector3 GameWorld::cursorGroundPoint() { return {}; }
void drawBus(int32_t, Vector3, float, float, float) {}
void drawProp(int32_t, Vector3, float) {}
