/* pagly-speak: speaks one sentence with a flite voice into a WAV file and prints, for every
 * word the sentence shows (flite's tokens: "Bye-bye," is one), when it starts and ends.
 *
 *   pagly-speak VOICE PITCH STRETCH TEXT OUT.wav
 *
 * VOICE is slt, rms, awb or kal16; PITCH the mean pitch in Hz (0 keeps the voice's own);
 * STRETCH the duration factor (1 as the voice speaks, 1.2 slower). Prints one line per token
 * with words: "<start> <end> <token>", seconds from the start of the WAV, and exits 0; any
 * failure prints a line on stderr and exits 1. The book maker (tools/bookmaker/audio.py) runs
 * it: the sound and the timings come from the same synthesis, so they cannot drift apart. */
#include <flite/flite.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

cst_voice *register_cmu_us_slt(const char *voxdir);
cst_voice *register_cmu_us_rms(const char *voxdir);
cst_voice *register_cmu_us_awb(const char *voxdir);
cst_voice *register_cmu_us_kal16(const char *voxdir);

static cst_voice *voice_named(const char *name) {
    if (strcmp(name, "slt") == 0) return register_cmu_us_slt(NULL);
    if (strcmp(name, "rms") == 0) return register_cmu_us_rms(NULL);
    if (strcmp(name, "awb") == 0) return register_cmu_us_awb(NULL);
    if (strcmp(name, "kal16") == 0) return register_cmu_us_kal16(NULL);
    return NULL;
}

/* The token's first and last word, each spoken as segments: the token starts where the
 * segment before its first one ends and ends with its last segment. */
static int token_times(const cst_item *token, float *start, float *end) {
    const cst_item *first = item_daughter(token);
    const cst_item *last = item_last_daughter(token);
    if (!first || !last) return 0; /* punctuation alone: nothing spoken */
    const cst_item *first_word = item_as(first, "SylStructure");
    const cst_item *last_word = item_as(last, "SylStructure");
    if (!first_word || !last_word) return 0;
    const cst_item *first_seg = item_daughter(item_daughter(first_word));
    const cst_item *last_seg = item_last_daughter(item_last_daughter(last_word));
    if (!first_seg || !last_seg) return 0;
    const cst_item *before = item_prev(item_as(first_seg, "Segment"));
    *start = before ? item_feat_float(before, "end") : 0.0f;
    *end = item_feat_float(item_as(last_seg, "Segment"), "end");
    return 1;
}

int main(int argc, char **argv) {
    if (argc != 6) {
        fprintf(stderr, "usage: pagly-speak VOICE PITCH STRETCH TEXT OUT.wav\n");
        return 1;
    }
    flite_init();
    cst_voice *voice = voice_named(argv[1]);
    if (!voice) {
        fprintf(stderr, "pagly-speak: no flite voice '%s' (slt, rms, awb, kal16)\n", argv[1]);
        return 1;
    }
    float pitch = (float)atof(argv[2]);
    float stretch = (float)atof(argv[3]);
    if (pitch > 0) feat_set_float(voice->features, "int_f0_target_mean", pitch);
    if (stretch > 0) feat_set_float(voice->features, "duration_stretch", stretch);
    cst_utterance *utt = flite_synth_text(argv[4], voice);
    cst_wave *wave = utt ? utt_wave(utt) : NULL;
    if (!wave || cst_wave_save_riff(wave, argv[5]) != 0) {
        fprintf(stderr, "pagly-speak: could not speak or write %s\n", argv[5]);
        return 1;
    }
    cst_relation *tokens = utt_relation(utt, "Token");
    for (const cst_item *t = tokens ? relation_head(tokens) : NULL; t; t = item_next(t)) {
        float start, end;
        if (token_times(t, &start, &end)) printf("%.3f %.3f %s\n", start, end, item_name(t));
    }
    delete_utterance(utt);
    return 0;
}
