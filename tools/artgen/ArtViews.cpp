// Images of the effect views: animation frames, sleep picture, music buttons.
#include "ArtSink.h"
#include "ArtStyle.h"

void registerViewsArt(ArtSink&)
{
}
