// capture straight into a video: ffmpeg takes the frames and the sound through pipes, the file
// holds exactly the span asked for, and failures or a Ctrl-C leave nothing half-made behind.
#include "lib/png.h"
#include "tool_test.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

class VideoCapture : public ToolTest {
protected:
    // ffprobe's view of one stream ("v:0", "a:0") of `file` as key=value pairs.
    std::map<std::string, std::string> Probe(const std::string& file, const std::string& stream) {
        CommandResult r = RunCommand("ffprobe -v error -select_streams " + stream +
                                     " -show_entries stream=codec_name,width,height,r_frame_rate,nb_frames,"
                                     "pix_fmt,duration,start_time -of default=nw=1 \"" + file + "\"", folder);
        EXPECT_EQ(r.exitCode, 0) << "ffprobe (scripts/install-deps.sh installs it): " << r.out;
        std::map<std::string, std::string> fields;
        std::istringstream lines(r.out);
        for (std::string line; std::getline(lines, line);) {
            size_t equals = line.find('=');
            if (equals != std::string::npos) fields[line.substr(0, equals)] = line.substr(equals + 1);
        }
        return fields;
    }
    // The file's streams last the same within one frame and start at the same instant.
    void ExpectSoundAsLongAsPicture(const std::string& file, double frameSeconds) {
        auto video = Probe(file, "v:0"), audio = Probe(file, "a:0");
        EXPECT_EQ(audio["codec_name"], "aac");
        EXPECT_NEAR(atof(audio["duration"].c_str()), atof(video["duration"].c_str()), frameSeconds);
        EXPECT_EQ(audio["start_time"], video["start_time"]);
    }
    std::string Listing() { return RunCommand("ls -A", folder).out; }
};

TEST_F(VideoCapture, TwoSecondsGoStraightIntoAnMp4WithTheirSound) {
    CommandResult r = Tool("capture --video \"a b'c.mp4\" --from 1 --to 3 --fps 30 --size 160x120 --speed veryfast");
    ASSERT_EQ(r.exitCode, 0) << r.out;
    auto video = Probe("a b'c.mp4", "v:0");
    EXPECT_EQ(video["codec_name"], "h264");
    EXPECT_EQ(video["pix_fmt"], "yuv420p");
    EXPECT_EQ(video["width"] + "x" + video["height"], "160x120");
    EXPECT_EQ(video["r_frame_rate"], "30/1");
    EXPECT_EQ(video["nb_frames"], "60");
    ExpectSoundAsLongAsPicture("a b'c.mp4", 1 / 30.0);
    EXPECT_EQ(Listing(), "a b'c.mp4\n");  // no frame, no sound file, no part file
}

TEST_F(VideoCapture, FfmpegMissingOrFailingIsReportedAndLeavesNothing) {
    CommandResult missing = RunCommand("/usr/bin/env PATH=/nonexistent " + Build("kamora-tool") +
                                       " capture --video v.mp4 --to 1 --size 160x120 --package '" +
                                       Build("KaMora.ppk") + "'", folder);
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_NE(missing.out.find("ffmpeg is not installed"), std::string::npos) << missing.out;
    CommandResult failing = Tool("capture --video v.mp4 --to 1 --size 160x120 --encoder no-such-encoder");
    EXPECT_NE(failing.exitCode, 0);
    EXPECT_NE(failing.out.find("ffmpeg failed"), std::string::npos) << failing.out;
    EXPECT_EQ(Listing(), "");
}

TEST_F(VideoCapture, TerminatedCaptureEndsTheFileCleanlyWhateverSignalsFollow) {
    // SIGTERM once the first frames have gone to ffmpeg (the show would run for minutes more), and
    // again while ffmpeg finishes, which an ffmpeg that lingers for 2 s keeps from being over yet.
    // The part file of a capture that died before is cleared; a running one's is not.
    CommandResult r = RunCommand("mkdir bin && printf '#!/bin/sh\\n%s \"$@\"; s=$?; sleep 2; exit $s\\n' "
                                 "\"$(command -v ffmpeg)\" > bin/ffmpeg && chmod +x bin/ffmpeg; "
                                 "true & dead=$!; wait $dead; touch .kamora-part-$dead-v.mp4 .kamora-part-$$-v.mp4; "
                                 "PATH=\"$PWD/bin:$PATH\" " + Build("kamora-tool") +
                                     " capture --video v.mp4 --fps 30 --size 160x120 --package '" +
                                     Build("KaMora.ppk") + "' > log 2>&1 & p=$!; "
                                     "while kill -0 $p 2>/dev/null && ! grep -q 'frame ' log; do sleep 0.1; done; "
                                     "kill -TERM $p; "
                                     "while kill -0 $p 2>/dev/null && ! grep -q 'letting ffmpeg finish' log; do sleep 0.05; done; "
                                     "kill -TERM $p; wait $p; echo \"rc=$?\"; cat log; "
                                     "ls -A | grep -c kamora-part; rm .kamora-part-$$-v.mp4",
                                 folder);
    EXPECT_NE(r.out.find("rc=130"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("interrupted: kept"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "1\n") << r.out;  // the running capture's part file only
    EXPECT_GE(atoi(Probe("v.mp4", "v:0")["nb_frames"].c_str()), 10);
    ExpectSoundAsLongAsPicture("v.mp4", 1 / 30.0);
}

TEST_F(VideoCapture, AHungFinishEndsOnTheThirdSignalOrAfterThirtySecondsWithoutAWrite) {
    // The stand-in ffmpeg takes all it is sent and then hangs without writing its file. One
    // capture gets SIGTERM while it captures, again once it finishes (noted), and a third time;
    // another ends by itself and waits 30 s for a write. Both give the file up and end ffmpeg.
    CommandResult r = RunCommand(
        "mkdir bin && printf '#!/bin/sh\\necho $$ >> ffmpeg.pids\\ncat <&3 >/dev/null & cat >/dev/null\\nwait\\n"
        "exec sleep 600\\n' > bin/ffmpeg && chmod +x bin/ffmpeg; "
        "capture() { PATH=\"$PWD/bin:$PATH\" exec " + Build("kamora-tool") + " capture --fps 10 --size 160x120 --package '" +
            Build("KaMora.ppk") + "' \"$@\"; }; "
        "capture --video quiet.mp4 --to 0.5 > quiet.log 2>&1 & q=$!; "
        "capture --video v.mp4 > log 2>&1 & p=$!; "
        "for step in 'frame ' 'letting ffmpeg finish' 'still finishing'; do "
        "  while kill -0 $p 2>/dev/null && ! grep -q \"$step\" log; do sleep 0.05; done; kill -TERM $p; done; "
        "wait $p; echo \"rc=$?\"; cat log; wait $q; echo \"quiet rc=$?\"; cat quiet.log; "
        "for pid in $(cat ffmpeg.pids); do kill -0 $pid 2>/dev/null && echo \"ffmpeg $pid runs\"; done; "
        "echo \"left: $(ls -A | grep -v '^bin$\\|log$\\|^ffmpeg.pids$' | tr '\\n' ' ')\"",
        folder);
    EXPECT_NE(r.out.find("rc=1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("a third Ctrl-C gives it up"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("ffmpeg ended after a third Ctrl-C while it finished; v.mp4 is lost"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("quiet rc=1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("ffmpeg ended after no write for 30 s while it finished; quiet.mp4 is lost"),
              std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(" runs\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("left: \n"), std::string::npos) << r.out;  // no part file, no video
}

TEST_F(VideoCapture, SupersampledFrameIsTheLargerFrameAveragedDown) {
    CommandResult small = Tool("capture --out ss --from 10 --to 10.1 --fps 10 --size 320x240 --supersample 2");
    ASSERT_EQ(small.exitCode, 0) << small.out;
    ASSERT_EQ(Tool("render --at 10 --fps 10 --size 640x480 --out big.png").exitCode, 0);
    RgbImage got, big;
    ASSERT_TRUE(ReadPng(folder + "/ss/frame_000000.png", &got));
    ASSERT_TRUE(ReadPng(folder + "/big.png", &big));
    ASSERT_EQ(got.width * 1000 + got.height, 320240);
    double difference = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int d = 0; d < 4; ++d) sum += big.pixels[((y * 2 + d / 2) * 640 + x * 2 + d % 2) * 3 + c];
                difference += std::abs(got.pixels[(y * 320 + x) * 3 + c] - (sum + 2) / 4);
            }
    EXPECT_LT(difference / (320 * 240 * 3), 1.0);
}
