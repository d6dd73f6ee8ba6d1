#include "overview/tileimages.h"

std::mutex tileImagesLock;
