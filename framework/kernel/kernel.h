#pragma once
/// \file
/// Everything a model is written against: elements and their process control,
/// queues, random streams, message strings, the trace and the run's figures.

#include "engine/engine.h"
#include "engine/fatal_error.h"
#include "kernel/distribution.h"
#include "kernel/element.h"
#include "kernel/kernel_setup.h"
#include "kernel/msg_string.h"
#include "kernel/queue.h"
#include "kernel/queue_length_trace.h"
#include "kernel/queue_registry.h"
#include "kernel/run_figures.h"
#include "kernel/trace.h"
#include "kernel/trace_sink.h"
