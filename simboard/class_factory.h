// The class object that makes tuner filters; one static instance.
#pragma once

#include <unknwn.h>

IClassFactory* TunerFilterFactory();
