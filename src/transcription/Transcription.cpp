#include "transcription/Transcription.h"

Transcription::Transcription() = default;
Transcription::~Transcription() = default;
