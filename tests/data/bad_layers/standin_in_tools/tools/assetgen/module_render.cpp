#include "standin/fmod/audio_sink.h"
