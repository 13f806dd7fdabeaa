#pragma once

// The whole action family in one include, for code that builds animations.
#include "engine/actions/CCAction.h"
#include "engine/actions/CCActionCompound.h"
#include "engine/actions/CCActionEase.h"
#include "engine/actions/CCActionInstant.h"
#include "engine/actions/CCActionInterval.h"
#include "engine/actions/CCActionManager.h"
