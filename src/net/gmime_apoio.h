#pragma once

#include <gmime/gmime.h>

#include <memory>

// GMime needs one initialisation per process before any other call; safe to
// call from anywhere, any number of times.
void iniciarGMime();

struct LiberarGObject {
    void operator()(gpointer objeto) const { g_object_unref(objeto); }
};

// Owns one reference to a GObject (messages, parts, streams, address lists).
template <typename T> using ObjetoG = std::unique_ptr<T, LiberarGObject>;
