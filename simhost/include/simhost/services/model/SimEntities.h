/// \file
/// Simulated model entities and everything that lists or resolves them, in
/// one include: the entities, persistent objects and the model (SimModel.h),
/// entity-reference lists and containers (SimEntityReferences.h), and the
/// host's services over the model: the EOM object factory, the selection
/// manager and the root manager (SimModelServices.h).
#pragma once

#include "simhost/services/model/SimEntityReferences.h"
#include "simhost/services/model/SimModel.h"
#include "simhost/services/model/SimModelServices.h"
