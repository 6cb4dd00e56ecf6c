#pragma once

// Registers the compiled-in resources (catalog tables, images, example texts). They live in
// the static library, so every program that links it calls this once before reading them.
void initAmpwrightResources();
