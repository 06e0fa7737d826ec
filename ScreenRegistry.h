#pragma once

class Navigator;

// Makes every built screen reachable by its code.
void registerScreens(Navigator& navigator);
