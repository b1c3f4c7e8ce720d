// Images of the controls: palette, slider, LED dots, colour preview.
#include "ArtSink.h"
#include "ArtStyle.h"

void registerControlsArt(ArtSink&)
{
}
